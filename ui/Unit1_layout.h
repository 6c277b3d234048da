// The stored layout of the main window: its settings, every control and the tray menu.
#pragma once

#include <array>
#include <string_view>

#include "platform/layout.h"
#include "platform/popup_menu.h"

namespace ui {

using platform::Align;
using platform::ControlKind;
using platform::ControlLayout;
using platform::Cursor;
using platform::PanelLayout;

inline constexpr std::string_view ProgramTitle = "Ternavo";
inline constexpr std::string_view StartVersionText = "1.0.20100528";
inline constexpr std::string_view StartNotice = "欢迎使用 Ternavo 网络修复";

inline constexpr std::array<std::string_view, 13> MinuteChoices = {
    "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "15", "20", "30"};

inline constexpr std::array<PanelLayout, 2> StatusPanels = {{{200, StartNotice}, {50, ""}}};

inline constexpr COLORREF kGreen = RGB(0, 128, 0);
inline constexpr COLORREF kRed = RGB(255, 0, 0);

// Stored order; coordinates are left, top, width, height within the parent's client area.
inline constexpr std::array<ControlLayout, 21> Form1Controls = {{
    {.name = "Label5", .kind = ControlKind::Label, .bounds = {16, 205, 126, 12},
     .text = "Ternavo 官网 网络一键修复", .colour = kGreen, .cursor = Cursor::HandPoint},
    {.name = "PageControl1", .kind = ControlKind::TabControl, .bounds = {0, 0, 347, 192}, .tab_order = 0,
     .align = Align::Top},
    {.name = "TabSheet1", .kind = ControlKind::TabSheet, .parent = "PageControl1", .text = "软件设置",
     .tab_order = 0},
    {.name = "GroupBox1", .kind = ControlKind::GroupBox, .parent = "TabSheet1", .bounds = {0, 0, 339, 165},
     .tab_order = 0},
    {.name = "Label6", .kind = ControlKind::Label, .parent = "GroupBox1", .bounds = {16, 16, 204, 12},
     .text = "每过          分钟进行网络连接修复"},
    {.name = "ComboBox", .kind = ControlKind::ComboBox, .parent = "GroupBox1", .bounds = {48, 13, 48, 20},
     .text = "5", .tab_order = 0, .items = MinuteChoices, .item_index = 4},
    {.name = "Button_Start", .kind = ControlKind::Button, .parent = "GroupBox1", .bounds = {16, 136, 70, 25},
     .text = "开启", .tab_order = 1},
    {.name = "ButtonNetRepair", .kind = ControlKind::Button, .parent = "GroupBox1",
     .bounds = {176, 136, 70, 25}, .text = "现在修复", .tab_order = 2},
    {.name = "Memo_Log", .kind = ControlKind::Memo, .parent = "GroupBox1", .bounds = {16, 38, 313, 95},
     .tab_order = 3, .tile_bevel = true, .vertical_scroll = true, .word_wrap = true},
    {.name = "Button_Stop", .kind = ControlKind::Button, .parent = "GroupBox1", .bounds = {96, 136, 70, 25},
     .text = "停止", .tab_order = 4},
    {.name = "TabSheet2", .kind = ControlKind::TabSheet, .parent = "PageControl1", .text = "关于我们",
     .tab_order = 1},
    {.name = "GroupBox2", .kind = ControlKind::GroupBox, .parent = "TabSheet2", .bounds = {0, 0, 339, 165},
     .tab_order = 0},
    {.name = "Label1", .kind = ControlKind::Label, .parent = "GroupBox2", .bounds = {24, 34, 120, 12},
     .text = ProgramTitle},
    {.name = "Label2", .kind = ControlKind::Label, .parent = "GroupBox2", .bounds = {24, 58, 198, 12},
     .text = "软件官方 www.ternavo.example", .cursor = Cursor::Help},
    {.name = "Label3", .kind = ControlKind::Label, .parent = "GroupBox2", .bounds = {24, 82, 174, 12},
     .text = "技术支持 support.ternavo.example", .cursor = Cursor::Help},
    {.name = "Label4", .kind = ControlKind::Label, .parent = "GroupBox2", .bounds = {24, 106, 144, 12},
     .text = "联系我们 help@ternavo.example"},
    {.name = "Label7", .kind = ControlKind::Label, .parent = "GroupBox2", .bounds = {24, 130, 102, 12},
     .text = "更多的免费工具...", .colour = kRed, .cursor = Cursor::HandPoint},
    {.name = "EditVer", .kind = ControlKind::Edit, .parent = "GroupBox2", .bounds = {146, 30, 121, 20},
     .text = StartVersionText, .tab_order = 0, .tile_bevel = true},
    {.name = "StatusBar1", .kind = ControlKind::StatusBar, .bounds = {0, 229, 347, 21},
     .align = Align::Bottom, .panels = StatusPanels},
    {.name = "Button1", .kind = ControlKind::Button, .bounds = {268, 198, 75, 25}, .text = "最小化",
     .tab_order = 2},
    {.name = "Button2", .kind = ControlKind::Button, .bounds = {184, 198, 75, 25}, .text = "检测更新",
     .tab_order = 3},
}};

inline constexpr platform::FormLayout Form1Layout = {
    .class_name = "TForm1",
    .caption = ProgramTitle,
    .width = 355,
    .height = 277,
    .font_face = "宋体",
    .font_height = -12,
    .controls = Form1Controls,
};

inline constexpr std::array<platform::MenuItemLayout, 6> PopupMenu1Items = {{
    {"Aboutme", "检测更新"},
    {"N2", "-"},
    {"ShowME", "显示窗口"},
    {"HideME", "隐藏窗口"},
    {"N1", "-"},
    {"CloseMe", "退出程序"},
}};

inline constexpr unsigned kClockIntervalMs = 500;

}  // namespace ui
