#pragma once
// The pictures an Image control can show, by id. The bindings draw them as vector pictures at
// any size; an empty id shows nothing (a transparent hot spot over other controls).

namespace velmark::ui::pictures {

inline constexpr const char* kKnob = "knob";             // a slider knob
inline constexpr const char* kKnobFocus = "knob-focus";  // the knob of the focused slider
inline constexpr const char* kTabOn = "tab-on";          // the tab of the page shown
inline constexpr const char* kTabOff = "tab-off";
inline constexpr const char* kMuteOn = "mute-on";  // channel muted
inline constexpr const char* kMuteOff = "mute-off";
inline constexpr const char* kButton = "button";  // a plain button face under a label
inline constexpr const char* kButtonDown = "button-down";
inline constexpr const char* kToolStore = "tool-store";
inline constexpr const char* kToolRecall = "tool-recall";
inline constexpr const char* kToolSave = "tool-save";
inline constexpr const char* kToolLoad = "tool-load";
inline constexpr const char* kToolLock = "tool-lock";
inline constexpr const char* kToolUnlock = "tool-unlock";
inline constexpr const char* kToolPassword = "tool-password";
inline constexpr const char* kToolUser = "tool-user";
inline constexpr const char* kToolCopy = "tool-copy";
inline constexpr const char* kToolDefault = "tool-default";
inline constexpr const char* kToolAbout = "tool-about";
inline constexpr const char* kToolView = "tool-view";
inline constexpr const char* kToolLink = "tool-link";
inline constexpr const char* kToolSetup = "tool-setup";  // three faders
inline constexpr const char* kEqFlat = "eq-flat";        // a curve laid flat
inline constexpr const char* kLogo = "logo";

}  // namespace velmark::ui::pictures
