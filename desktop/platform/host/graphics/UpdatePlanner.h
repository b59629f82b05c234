#pragma once

#include <vector>

#include "ScreenState.h"
#include "platform/mw/MWRect.h"

namespace marrowleaf::platform {

// How marked rectangles become e-ink updates. This is the one place that decides it.
//
// An e-ink panel pays for every update with a waveform of a few hundred milliseconds, whatever its
// size, and a partial update leaves faint ghosts of what was there before; a full update flashes
// black and white and clears them. So a flush sends few updates, and flashes only when ghosting is
// likely or the change is the whole screen anyway:
//
//  1. A full update is sent alone (nothing else is needed after it) when
//     - MarkFullUpdate or kind MW_UPDATE_FULL (3) was marked,
//     - rectangles of kind MW_UPDATE_CLEAN (4), what a closed menu, dialog or the panel leaves
//       behind, cover half the screen or more together (their bounding box), or
//     - this flush holds partial updates and is the n-th such flush since the last full update
//       (SetPartialFlushesPerFull; 20 by default, 0 never): partial updates accumulate ghosts.
//  2. Otherwise a soft update (whole screen, no flash) is sent alone when kind MW_UPDATE_SOFT (2)
//     was marked.
//  3. Otherwise the rectangles of kinds MW_UPDATE_PARTIAL (0) and MW_UPDATE_CLEAN go out as
//     partial updates, and those of MW_UPDATE_DYNAMIC (1) as dynamic (fast black-and-white)
//     updates after them. Dynamic updates give quick feedback, so they never cause a flash and
//     are not counted towards the n-th flush.
//  4. Within each kind, two rectangles are merged into their bounding box when it is at most a
//     quarter larger than the two together (overlapping, touching or close neighbours: one
//     waveform instead of two for little extra area). When more than kMaxUpdatesPerFlush remain,
//     all of them become one bounding box, since waiting for many waveforms costs more than
//     updating the area between them.
//
// Rectangles are clipped to the screen; an empty rectangle stands for the whole screen. Not thread
// safe: MWGraphics guards it.
class UpdatePlanner {
 public:
  static constexpr int kMaxUpdatesPerFlush = 4;
  static constexpr int kDefaultPartialFlushesPerFull = 20;

  struct Update {
    UpdateKind kind;
    MWRect rect;
    bool operator==(const Update& other) const { return kind == other.kind && rect == other.rect; }
  };

  void Mark(const MWRect& rect, int kind);
  void MarkFull() { full_ = true; }
  // The strongest kind pending, as an MWUpdateKind value.
  int StrongestKind() const;
  bool HasPending() const;
  // The updates to send for what was marked, for a screen of width x height; clears the marks.
  std::vector<Update> Take(int screen_width, int screen_height);
  void Clear();
  void SetPartialFlushesPerFull(int count) { partial_flushes_per_full_ = count; }

  // Merges rectangles as rule 4 says. Public for tests.
  static std::vector<MWRect> Merge(std::vector<MWRect> rects);

 private:
  // True when the full update of rule 1 is due; counts the flush.
  bool FullUpdateDue(const MWRect& screen);
  static MWRect Clip(const MWRect& rect, const MWRect& screen);

  std::vector<MWRect> partial_;
  std::vector<MWRect> clean_;
  std::vector<MWRect> dynamic_;
  bool full_ = false;
  bool soft_ = false;
  int partial_flushes_ = 0;
  int partial_flushes_per_full_ = kDefaultPartialFlushesPerFull;
};

}  // namespace marrowleaf::platform
