// A property of a screen element: reads like a field, and tells its element when a write changes it, so that the
// window that mirrors the element can follow.
#pragma once
#include <utility>

class Element;

template <class T>
class Prop {
 public:
  Prop(Element* owner, T value = T{}) : owner_(owner), value_(std::move(value)) {}
  Prop(const Prop&) = delete;
  Prop& operator=(const Prop& other) { return *this = other.value_; }

  Prop& operator=(const T& value);
  operator const T&() const { return value_; }
  const T& operator()() const { return value_; }

 private:
  Element* owner_;
  T value_;
};
