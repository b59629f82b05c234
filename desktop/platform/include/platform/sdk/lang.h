// Language texts of the device SDK.
//
// Texts shown to the user are keys beginning with "@". The current language is the global
// configuration's "language" key (default "en"); its texts come from "/ebrmain/language/<lang>.txt"
// and, over them, "/mnt/ext1/system/language/<lang>.txt" (same key-value syntax as configuration
// files; in the files keys are written without the "@": "Delete=Delete"). A key missing in the
// language falls back to English, then to the key itself without "@".
// Plural forms are keys with a suffix of the ICU plural category: "@Books_one", "@Books_few",
// "@Books_many", "@Books_other"; "%d" in the text is replaced by the count. A missing form falls
// back to "_other", then to the bare key, first in the language and then in English.
// Day and month names of formatted times are the keys "@Sun".."@Sat", "@Sunday".."@Saturday",
// "@Jan".."@Dec" and "@January".."@December" ("@May" serves both lengths).
// Every function may be called from any thread.
#pragma once

#include <cstddef>
#include <ctime>

// Reloads the texts, for example after the language has been changed; nullptr or "" loads the
// global configuration's language.
void LoadLanguage(const char* language);
const char* CurrentLanguage();

// Returns the translation of key ("@Delete"), or key itself when it doesn't start with "@".
// The result stays valid until the language is reloaded.
const char* GetLangText(const char* key);
// The plural form of key for count, with "%d" replaced by count.
const char* GetLangTextPlural(const char* key, int count);

// Formats time t with the strftime format that the language text of format_key gives (or format_key
// itself when it isn't a key), month and day names in the current language. Returns the length
// written, -1 for a bad argument, -2 when the result doesn't fit, -100 when the key is unknown.
int GetLangTime(char* buffer, int size, const char* format_key, time_t t);

// printf into buffer with the translation of format_key as the format. A translation whose
// conversions differ from the English text's is not trusted: the English text is used instead.
// Returns the length written (the text is cut to fit), or -1 for a bad argument.
int pk_lang_format(char* buffer, size_t size, const char* format_key, ...);
