// What a user finds right after the start: the window, every control where the layout puts
// it, the start contents, and the two pages of the tab control.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <array>

#include "driver.h"

namespace e2e {
namespace {

using LayoutTest = TernavoTest;

// How much of a control's place is fixed: labels size themselves to their text, a combo box's
// height follows its font, aligned controls take their parent's width.
enum class Fit { Exact, LeftTop, LeftTopWidth, AlignTop, AlignBottom };

struct Place {
  int left, top, width, height;
};

struct Expected {
  int row;
  const wchar_t* class_name;
  int parent;  // a row, or kForm for the main window
  Fit fit;
  Place place;  // within the parent's client area
  std::string_view text;
};

constexpr int kForm = -1;

// Tab pages carry no id and are checked with the tab control.
constexpr std::array<Expected, 19> kControls = {{
    {row::Label5, L"Static", kForm, Fit::LeftTop, {16, 205, 0, 0}, "Ternavo 官网 网络一键修复"},
    {row::PageControl1, L"SysTabControl32", kForm, Fit::AlignTop, {0, 0, 0, 192}, ""},
    {row::GroupBox1, L"Button", row::TabSheet1, Fit::Exact, {0, 0, 339, 165}, ""},
    {row::Label6, L"Static", row::GroupBox1, Fit::LeftTop, {16, 16, 0, 0}, "每过          分钟进行网络连接修复"},
    {row::ComboBox, L"ComboBox", row::GroupBox1, Fit::LeftTopWidth, {48, 13, 48, 0}, "5"},
    {row::Button_Start, L"Button", row::GroupBox1, Fit::Exact, {16, 136, 70, 25}, "开启"},
    {row::ButtonNetRepair, L"Button", row::GroupBox1, Fit::Exact, {176, 136, 70, 25}, "现在修复"},
    {row::Memo_Log, L"Edit", row::GroupBox1, Fit::Exact, {16, 38, 313, 95}, ""},
    {row::Button_Stop, L"Button", row::GroupBox1, Fit::Exact, {96, 136, 70, 25}, "停止"},
    {row::GroupBox2, L"Button", row::TabSheet2, Fit::Exact, {0, 0, 339, 165}, ""},
    {row::Label1, L"Static", row::GroupBox2, Fit::LeftTop, {24, 34, 0, 0}, "Ternavo"},
    {row::Label2, L"Static", row::GroupBox2, Fit::LeftTop, {24, 58, 0, 0}, "软件官方 www.ternavo.example"},
    {row::Label3, L"Static", row::GroupBox2, Fit::LeftTop, {24, 82, 0, 0}, "技术支持 support.ternavo.example"},
    {row::Label4, L"Static", row::GroupBox2, Fit::LeftTop, {24, 106, 0, 0}, "联系我们 help@ternavo.example"},
    {row::Label7, L"Static", row::GroupBox2, Fit::LeftTop, {24, 130, 0, 0}, "更多的免费工具..."},
    {row::EditVer, L"Edit", row::GroupBox2, Fit::Exact, {146, 30, 121, 20}, "1.0.20100528"},
    // A status bar's window text is that of its first panel.
    {row::StatusBar1, L"msctls_statusbar32", kForm, Fit::AlignBottom, {0, 0, 0, 0}, "欢迎使用 Ternavo 网络修复"},
    {row::Button1, L"Button", kForm, Fit::Exact, {268, 198, 75, 25}, "最小化"},
    {row::Button2, L"Button", kForm, Fit::Exact, {184, 198, 75, 25}, "检测更新"},
}};

struct Page {
  int row;
  std::string_view caption;
  int group_box;
};
constexpr std::array<Page, 2> kPages = {{{row::TabSheet1, "软件设置", row::GroupBox1},
                                         {row::TabSheet2, "关于我们", row::GroupBox2}}};

bool Shown(HWND hwnd) { return (GetWindowLongW(hwnd, GWL_STYLE) & WS_VISIBLE) != 0; }

TEST_F(LayoutTest, MainWindowFrame) {
  const HWND main = program().MainWindow();
  EXPECT_EQ(TextOf(main), "Ternavo1.0.20100528");

  const HWND app = program().AppWindow();
  ASSERT_NE(app, nullptr);
  EXPECT_EQ(TextOf(app), "Ternavo");
  EXPECT_EQ(GetWindow(main, GW_OWNER), app);

  RECT frame{};
  ASSERT_TRUE(GetWindowRect(main, &frame));
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  EXPECT_EQ(width, 355);
  EXPECT_EQ(height, 277);
  EXPECT_EQ(frame.left, std::max(0, (GetSystemMetrics(SM_CXVIRTUALSCREEN) - width) / 2));
  EXPECT_EQ(frame.top, std::max(0, (GetSystemMetrics(SM_CYVIRTUALSCREEN) - height) / 2));

  const LONG style = GetWindowLongW(main, GWL_STYLE);
  EXPECT_TRUE(style & WS_CAPTION);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME);
}

TEST_F(LayoutTest, EveryControlOfTheLayout) {
  const HWND main = program().MainWindow();
  RECT client{};
  ASSERT_TRUE(GetClientRect(main, &client));

  // The pages, found as the tab control's children by their captions.
  const HWND tabs = Control(row::PageControl1);
  ASSERT_NE(tabs, nullptr);
  std::array<HWND, 21> by_row{};
  for (const Page& page : kPages) {
    for (HWND hwnd : Descendants(tabs, L"TTabSheet")) {
      if (GetParent(hwnd) == tabs && TextOf(hwnd) == page.caption) by_row[static_cast<std::size_t>(page.row)] = hwnd;
    }
    EXPECT_NE(by_row[static_cast<std::size_t>(page.row)], nullptr) << "page " << page.caption;
  }

  for (const Expected& want : kControls) {
    SCOPED_TRACE(testing::Message() << "row " << want.row << " \"" << want.text << "\"");
    const HWND hwnd = Control(want.row);
    ASSERT_NE(hwnd, nullptr);
    by_row[static_cast<std::size_t>(want.row)] = hwnd;
    EXPECT_EQ(CompareStringOrdinal(ClassOf(hwnd).c_str(), -1, want.class_name, -1, TRUE), CSTR_EQUAL)
        << Gbk(ClassOf(hwnd));
    const HWND parent = want.parent == kForm ? main : by_row[static_cast<std::size_t>(want.parent)];
    EXPECT_EQ(GetParent(hwnd), parent);
    EXPECT_EQ(TextOf(hwnd), want.text);

    const RECT at = RectInParent(hwnd);
    const int width = at.right - at.left;
    const int height = at.bottom - at.top;
    switch (want.fit) {
      case Fit::Exact:
        EXPECT_EQ(height, want.place.height);
        [[fallthrough]];
      case Fit::LeftTopWidth:
        EXPECT_EQ(width, want.place.width);
        [[fallthrough]];
      case Fit::LeftTop:
        EXPECT_EQ(at.left, want.place.left);
        EXPECT_EQ(at.top, want.place.top);
        break;
      case Fit::AlignTop:
        EXPECT_EQ(at.left, 0);
        EXPECT_EQ(at.top, 0);
        EXPECT_EQ(width, client.right);
        EXPECT_EQ(height, want.place.height);
        break;
      case Fit::AlignBottom:
        EXPECT_EQ(at.left, 0);
        EXPECT_EQ(at.bottom, client.bottom);
        EXPECT_EQ(width, client.right);
        break;
    }
  }
}

TEST_F(LayoutTest, StartContents) {
  // Read first: the clock fills the panel half a second after the start.
  EXPECT_EQ(program().StatusPanelText(1), "");
  const std::vector<std::string> minutes = {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "15", "20", "30"};
  EXPECT_EQ(program().ComboItems(), minutes);
  EXPECT_EQ(SendMessageW(Control(row::ComboBox), CB_GETCURSEL, 0, 0), 4);
  EXPECT_EQ(TextOf(Control(row::ComboBox)), "5");
  EXPECT_EQ(TextOf(Control(row::Memo_Log)), "");
  EXPECT_EQ(TextOf(Control(row::EditVer)), "1.0.20100528");
  EXPECT_EQ(program().StatusPanelText(0), "欢迎使用 Ternavo 网络修复");
}

TEST_F(LayoutTest, PagesFollowTheTabSelection) {
  const HWND tabs = Control(row::PageControl1);
  ASSERT_NE(tabs, nullptr);
  std::array<HWND, 2> pages{};
  for (std::size_t i = 0; i < kPages.size(); ++i) {
    EXPECT_EQ(program().TabText(static_cast<int>(i)), kPages[i].caption);
    pages[i] = GetParent(Control(kPages[i].group_box));
  }
  const auto front_page = [&](int index) {
    return SendMessageW(tabs, TCM_GETCURSEL, 0, 0) == index && Shown(pages[static_cast<std::size_t>(index)]) &&
           !Shown(pages[static_cast<std::size_t>(1 - index)]);
  };
  EXPECT_TRUE(front_page(0)) << "the first page is in front at start";

  // The tab control's own message moves the selection and notifies the window.
  (void)SendMessageW(tabs, TCM_SETCURFOCUS, 1, 0);
  EXPECT_TRUE(WaitUntil([&] { return front_page(1); }));

  // A click on the first tab, as the user does.
  const RECT tab = program().TabRect(0);
  const LPARAM point = MAKELPARAM((tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2);
  ASSERT_TRUE(PostMessageW(tabs, WM_LBUTTONDOWN, MK_LBUTTON, point));
  ASSERT_TRUE(PostMessageW(tabs, WM_LBUTTONUP, 0, point));
  EXPECT_TRUE(WaitUntil([&] { return front_page(0); }));
}

}  // namespace
}  // namespace e2e
