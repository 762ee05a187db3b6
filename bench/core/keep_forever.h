// Ownership handed to the process itself: for what a thread that could not be stopped still
// uses. Destroying it would pull it from under that thread; it goes when the process ends.
#pragma once
#include <memory>
#include <vector>

namespace vexmark {

template <class T>
void KeepForever(std::unique_ptr<T> object) {
  // Never destroyed: it must outlive every static destructor as well.
  static auto* kept = new std::vector<std::shared_ptr<void>>;
  if (object) kept->push_back(std::shared_ptr<T>(std::move(object)));
}

}  // namespace vexmark
