-- The library database as the device's file indexer keeps it: the tables and columns the home
-- screen reads and edits, and the indexes that keep its statements off full-table scans.
-- The indexer owns this file; the home screen only adds rows to profiles and books_settings.

CREATE TABLE IF NOT EXISTS storages (
  id INTEGER PRIMARY KEY,
  type INTEGER NOT NULL,          -- 1 local storage, 2 cloud storage
  name TEXT,
  path TEXT                       -- mount folder of a local storage
);

CREATE TABLE IF NOT EXISTS folders (
  id INTEGER PRIMARY KEY,
  name TEXT NOT NULL UNIQUE       -- full directory path
);

CREATE TABLE IF NOT EXISTS books_impl (
  id INTEGER PRIMARY KEY,
  title TEXT,
  author TEXT,
  firstauthor TEXT,
  series TEXT,
  numinseries INTEGER,
  size INTEGER,
  creationtime INTEGER,
  updated INTEGER,
  ts_added INTEGER NOT NULL DEFAULT 0,
  date_added TEXT,
  hidden INTEGER NOT NULL DEFAULT 0,
  sort_title TEXT,
  resource_id BLOB
);

CREATE TABLE IF NOT EXISTS files (
  id INTEGER PRIMARY KEY,
  book_id INTEGER NOT NULL REFERENCES books_impl(id),
  folder_id INTEGER NOT NULL REFERENCES folders(id),
  storageid INTEGER NOT NULL REFERENCES storages(id),
  filename TEXT NOT NULL,
  ext TEXT,
  size INTEGER,
  fast_hash BLOB
);

CREATE TABLE IF NOT EXISTS profiles (
  id INTEGER PRIMARY KEY,
  name TEXT NOT NULL UNIQUE
);

CREATE TABLE IF NOT EXISTS books_settings (
  bookid INTEGER NOT NULL,
  profileid INTEGER NOT NULL,
  position TEXT,
  cpage INTEGER DEFAULT 0,
  npage INTEGER DEFAULT 0,
  opentime INTEGER DEFAULT 0,
  completed INTEGER DEFAULT 0,
  favorite INTEGER DEFAULT 0,
  custom TEXT,
  position_ts INTEGER DEFAULT 0,
  favorite_ts INTEGER DEFAULT 0,
  PRIMARY KEY (bookid, profileid)
);

CREATE TABLE IF NOT EXISTS file_props (
  fast_hash BLOB NOT NULL,
  prop_type INTEGER NOT NULL,
  value TEXT,
  PRIMARY KEY (fast_hash, prop_type)
);

CREATE TABLE IF NOT EXISTS timestamps (
  id INTEGER PRIMARY KEY,
  ts INTEGER
);

CREATE TABLE IF NOT EXISTS tags2 (
  id INTEGER PRIMARY KEY,
  timestampid INTEGER NOT NULL REFERENCES timestamps(id),
  profileid INTEGER NOT NULL,
  is_viewed INTEGER,
  text TEXT
);

-- Newest additions first, and the members of one added moment.
CREATE INDEX IF NOT EXISTS books_impl_ts_added ON books_impl(ts_added);
-- The columns the home-screen lists test on every book, in id order: the acsm list, which groups
-- by book and filters on visibility and added time, reads this narrow index instead of the whole
-- table, and the opened list finds a book's visibility without reading its row.
CREATE INDEX IF NOT EXISTS books_impl_visible ON books_impl(id, hidden, ts_added);
-- The files of a book, with the columns the home-screen joins read, so the join needs no row
-- look-ups in files. The storage comes after the folder so that a book's files are found with one
-- seek and the storage list is checked on the index entries.
CREATE INDEX IF NOT EXISTS files_book ON files(book_id, folder_id, storageid, ext);
-- Files by type: the few acsm files are found without reading the others.
CREATE INDEX IF NOT EXISTS files_ext ON files(ext, storageid, book_id, folder_id);
-- One file by folder and name (deleting a file).
CREATE INDEX IF NOT EXISTS files_folder_name ON files(folder_id, filename);
-- Recently opened books of a profile, newest first, with the book so that no row is read.
CREATE INDEX IF NOT EXISTS books_settings_opened ON books_settings(profileid, opentime, bookid);
-- Unseen notifications of a profile.
CREATE INDEX IF NOT EXISTS tags2_profile_viewed ON tags2(profileid, is_viewed);
