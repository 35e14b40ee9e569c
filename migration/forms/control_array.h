// A control array: controls of one name told apart by their index, as cmdSelAll(0) to (3).
#pragma once

#include <memory>
#include <vector>

namespace forms {

template <typename T>
class ControlArray {
 public:
  T& add(std::unique_ptr<T> control) {
    m_controls.push_back(std::move(control));
    return *m_controls.back();
  }
  std::size_t count() const { return m_controls.size(); }
  T& operator[](std::size_t index) { return *m_controls.at(index); }
  const T& operator[](std::size_t index) const { return *m_controls.at(index); }
  auto begin() const { return m_controls.begin(); }
  auto end() const { return m_controls.end(); }

 private:
  std::vector<std::unique_ptr<T>> m_controls;
};

}  // namespace forms
