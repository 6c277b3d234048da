// The main window TForm1: its controls, its components and every event handler.
#include "ui/Unit1.h"

#include <shlobj.h>

#include "platform/Unit_Function.h"
#include "platform/application.h"
#include "platform/files.h"
#include "platform/format_settings.h"
#include "repair/repair.h"
#include "rtl/repair_script.h"
#include "ui/Unit1_layout.h"

namespace ui {

TForm1::TForm1() : TForm(Form1Layout) {
  OnCreate = [this](TObject* sender) { FormCreate(sender); };
  OnDestroy = [this](TObject* sender) { FormDestroy(sender); };
}

void TForm1::Loaded() {
  PageControl1 = &Find<platform::TTabControl>("PageControl1");
  ComboBox = &Find<platform::TComboBox>("ComboBox");
  Button_Start = &Find<platform::TButton>("Button_Start");
  Button_Stop = &Find<platform::TButton>("Button_Stop");
  ButtonNetRepair = &Find<platform::TButton>("ButtonNetRepair");
  Memo_Log = &Find<platform::TMemo>("Memo_Log");
  EditVer = &Find<platform::TEdit>("EditVer");
  StatusBar1 = &Find<platform::TStatusBar>("StatusBar1");
  Button1 = &Find<platform::TButton>("Button1");
  Button2 = &Find<platform::TButton>("Button2");

  ButtonNetRepair->OnClick = [this](TObject* sender) { ButtonNetRepairClick(sender); };

  Button1->OnClick = [this](TObject* sender) { Button1Click(sender); };

  // Stored settings: the icon enters the tray with its stored image and no tooltip yet.
  CoolTrayIcon1 = std::make_unique<platform::TCoolTrayIcon>(*this);
  const platform::UniqueIcon stored_icon(static_cast<HICON>(
      LoadImageA(GetModuleHandleA(nullptr), "TRAYICON", IMAGE_ICON, 32, 32, 0)));
  CoolTrayIcon1->SetIcon(stored_icon.Get());
  CoolTrayIcon1->OnClick = [this](TObject* sender) { CoolTrayIcon1Click(sender); };
  CoolTrayIcon1->SetIconVisible(true);

  PopupMenu1 = std::make_unique<platform::TPopupMenu>(PopupMenu1Items);
  PopupMenu1->Item("ShowME").OnClick = [this](TObject* sender) { ShowMEClick(sender); };
  PopupMenu1->Item("HideME").OnClick = [this](TObject* sender) { HideMEClick(sender); };
  PopupMenu1->Item("CloseMe").OnClick = [this](TObject* sender) { CloseMeClick(sender); };
  CoolTrayIcon1->PopupMenu = PopupMenu1.get();

  Timer_Velquor = std::make_unique<platform::TTimer>();
  Timer_Velquor->SetEnabled(false);
  Timer_Velquor->SetInterval(0);

  Timer = std::make_unique<platform::TTimer>();
  Timer->SetInterval(kClockIntervalMs);
  Timer->SetOnTimer([this](TObject* sender) { TimerTimer(sender); });
}

void TForm1::FormCreate(TObject*) {
  // Before the version joins the caption: the tooltip is the bare title.
  CoolTrayIcon1->SetHint(Caption());
  CoolTrayIcon1->SetIcon(Icon());
  CoolTrayIcon1->SetIconVisible(true);
  // The caption is composed once: later edits of the version box leave it alone.
  SetCaption(Caption() + EditVer->Text());
}

void TForm1::FormDestroy(TObject*) {
  // First, so the icon leaves the tray at once.
  CoolTrayIcon1.reset();
}

void TForm1::TimerTimer(TObject*) {
  // Date and time from one reading, so midnight never pairs a new date with an old time.
  StatusBar1->SetPanelText(1, rtl::ClockText(platform::FormatSettings(), platform::Now()));
}

void TForm1::ButtonNetRepairClick(TObject*) {
  platform::TStringList script;
  for (std::string_view line : rtl::RepairScript) script.Add(line);
  const std::string file =
      repair::SpecialFolderPath(CSIDL_TEMPLATES) + "\\" + std::string(rtl::RepairScriptFileName);
  script.SaveToFile(file);
  if (!platform::FileExists(file)) return;

  Memo_Log->AppendLine(rtl::RepairWaitLine);
  // Puts the wait line on screen; clicks and ticks already queued run here, nested.
  platform::Application->ProcessMessages();
  const auto exit_code = repair::RunCommandWait(repair::QuotedForCommandLine(file), SW_HIDE);
  // The batch's exit code is only that of its last command, so any run that started counts.
  const std::string_view outcome = exit_code ? rtl::RepairSuccessLine : rtl::RepairFailureLine;
  Memo_Log->AppendLine(std::string(outcome) + StatusBar1->PanelText(1));
}

void TForm1::HideMEClick(TObject*) {
  platform::HideAppTaskbarButton();
  (void)ShowWindow(Handle(), SW_HIDE);
}

void TForm1::Button1Click(TObject*) {
  CoolTrayIcon1->HideBalloonNotice();
  PopupMenu1->Item("HideME").Click();
}

void TForm1::ShowMEClick(TObject*) {
  // Hidden first, so the show always comes with a show notice, on which the tray icon
  // brings the window to the front.
  (void)ShowWindow(Handle(), SW_HIDE);
  (void)ShowWindow(Handle(), SW_SHOW);
}

void TForm1::CoolTrayIcon1Click(TObject*) { PopupMenu1->Item("ShowME").Click(); }

void TForm1::CloseMeClick(TObject*) { Close(); }

}  // namespace ui
