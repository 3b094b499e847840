// The wait cursor over every window of the program for as long as the object lives.
#pragma once

namespace kx::ui {

class WaitCursor {
 public:
  WaitCursor();
  ~WaitCursor();
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

  // Shows the wait cursor again after something in between changed the cursor.
  void Restore();
};

}  // namespace kx::ui
