// Turns a Qt key event into the key stroke that the scan-code tables take.
#pragma once

#include "core/scancodes/KeyStroke.h"

#include <optional>

class QKeyEvent;

namespace zr4700 {

// The stroke of a key press (auto-repeats included; the event type is not checked, so the
// caller decides which events count). nullopt when the event carries no native code that maps
// to a set-1 key, e.g. an event synthesized without native codes.
std::optional<KeyStroke> KeyStrokeFromEvent(const QKeyEvent& event);

} // namespace zr4700
