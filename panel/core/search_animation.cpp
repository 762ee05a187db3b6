#include "panel/core/search_animation.h"

#include <string>
#include <utility>

namespace panel {

namespace {

std::u16string FrameImage(int frame) {
  std::u16string image = u"tu";
  image.push_back(static_cast<char16_t>(u'0' + frame));
  return image + u".png";
}

}  // namespace

std::unique_ptr<SearchAnimation> SearchAnimation::Start(
    platform::Sync& sync, std::function<void(std::u16string)> show_frame) {
  std::unique_ptr<SearchAnimation> animation(new SearchAnimation());
  animation->event_ = sync.CreateEvent(false, false);
  if (!animation->event_) return nullptr;
  platform::Event* event = animation->event_.get();
  animation->thread_ =
      sync.StartThread([&sync, event, show = std::move(show_frame)] { Run(sync, *event, show); },
                       platform::ThreadPriority::kNormal);
  if (!animation->thread_) return nullptr;
  return animation;
}

SearchAnimation::~SearchAnimation() { Stop(); }

void SearchAnimation::Stop() {
  if (!thread_) return;
  event_->Set();
  thread_->Join();
  thread_.reset();
  event_.reset();
}

void SearchAnimation::Run(platform::Sync& sync, platform::Event& event,
                          const std::function<void(std::u16string)>& show_frame) {
  platform::Event* const events[] = {&event};
  int frame = 0;
  for (;;) {
    const platform::WaitResult result = sync.WaitAny(events, kAnimationFrameMs);
    // A failed wait ends the thread too: retrying it would only spin.
    if (result.kind != platform::WaitResult::Kind::kTimedOut) return;
    show_frame(FrameImage(frame));
    frame = (frame + 1) % kAnimationFrames;
  }
}

}  // namespace panel
