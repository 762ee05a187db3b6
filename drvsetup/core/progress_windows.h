// The progress bar window shown while the audio device is removed.
#pragma once
#include <memory>
#include <string>

namespace drvsetup {

struct WindowRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

struct ProgressWindowParams {
  std::string title;
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

class ProgressBar {
 public:
  virtual ~ProgressBar() = default;  // destroys the window
  virtual void SetRange(int low, int high) = 0;
  virtual void SetStep(int step) = 0;
  virtual void StepIt() = 0;
};

class ProgressWindows {
 public:
  virtual ~ProgressWindows() = default;
  virtual WindowRect DesktopRect() = 0;
  // A visible, topmost, captioned, smooth progress bar window on the desktop; nullptr when
  // it cannot be created.
  virtual std::unique_ptr<ProgressBar> Create(const ProgressWindowParams& params) = 0;
};

}  // namespace drvsetup
