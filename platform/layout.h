// The stored layout of a form: one row per control, read like the designer's table.
#pragma once

#include <windows.h>

#include <span>
#include <string_view>

namespace platform {

enum class ControlKind { Label, TabControl, TabSheet, GroupBox, ComboBox, Button, Memo, Edit, StatusBar };
enum class Align { None, Top, Bottom };
enum class Cursor { Default, HandPoint, Help };

inline constexpr COLORREF kDefaultColour = 0xFF000000;  // no colour of its own
inline constexpr int kNoTabStop = -1;

struct Bounds {
  int left = 0, top = 0, width = 0, height = 0;
};

struct PanelLayout {
  int width;
  std::string_view text;
};

struct ControlLayout {
  std::string_view name;
  ControlKind kind = ControlKind::Label;
  std::string_view parent;  // empty: the form itself
  Bounds bounds;
  std::string_view text;
  // Place in the focus order among its siblings; controls that take no focus (labels, the
  // status bar) have none. Group boxes and pages order their children without a stop of their own.
  int tab_order = kNoTabStop;
  COLORREF colour = kDefaultColour;  // text colour of a label
  Cursor cursor = Cursor::Default;
  Align align = Align::None;
  bool tile_bevel = false;       // thin raised-and-sunken edge in place of a border
  bool vertical_scroll = false;  // memo
  bool word_wrap = false;        // memo
  std::span<const std::string_view> items = {};  // combo box list
  int item_index = -1;                           // combo box selection at start
  std::span<const PanelLayout> panels = {};        // status bar
};

struct FormLayout {
  std::string_view class_name;
  std::string_view caption;
  int width, height;  // outer size, fixed
  std::string_view font_face;
  int font_height;
  std::span<const ControlLayout> controls;
};

}  // namespace platform
