// A list of callbacks that a model calls when its state changes, so that views can follow it.
#pragma once

#include <functional>
#include <utility>
#include <vector>

namespace forms {

class Signal {
 public:
  using Slot = std::function<void()>;

  int connect(Slot slot) {
    m_slots.emplace_back(++m_lastId, std::move(slot));
    return m_lastId;
  }
  void disconnect(int id) {
    std::erase_if(m_slots, [id](const auto& entry) { return entry.first == id; });
  }
  void emit() const {
    // A slot may disconnect itself while we run, so run a copy.
    const auto slots = m_slots;
    for (const auto& [id, slot] : slots) slot();
  }

 private:
  std::vector<std::pair<int, Slot>> m_slots;
  int m_lastId = 0;
};

// Calls a program handler if one is connected: the form's event procedure for a control.
inline void raise(const std::function<void()>& handler) {
  if (handler) handler();
}

}  // namespace forms
