// The main window TForm1: its controls, its components and every event handler.
#pragma once

#include <memory>

#include "platform/controls.h"
#include "platform/cool_tray_icon.h"
#include "platform/form.h"
#include "platform/popup_menu.h"
#include "platform/timer.h"

namespace ui {

using platform::TObject;

class TForm1 : public platform::TForm {
 public:
  TForm1();

  // Controls, bound once the layout is built.
  platform::TTabControl* PageControl1 = nullptr;
  platform::TComboBox* ComboBox = nullptr;
  platform::TButton* Button_Start = nullptr;
  platform::TButton* Button_Stop = nullptr;
  platform::TButton* ButtonNetRepair = nullptr;
  platform::TMemo* Memo_Log = nullptr;
  platform::TEdit* EditVer = nullptr;
  platform::TStatusBar* StatusBar1 = nullptr;
  platform::TButton* Button1 = nullptr;
  platform::TButton* Button2 = nullptr;

  // Non-visual components, in their stored order.
  std::unique_ptr<platform::TCoolTrayIcon> CoolTrayIcon1;
  std::unique_ptr<platform::TPopupMenu> PopupMenu1;
  std::unique_ptr<platform::TTimer> Timer_Velquor;
  std::unique_ptr<platform::TTimer> Timer;

  void FormCreate(TObject* Sender);
  void FormDestroy(TObject* Sender);
  void ButtonNetRepairClick(TObject* Sender);
  void HideMEClick(TObject* Sender);
  void Button1Click(TObject* Sender);
  void ShowMEClick(TObject* Sender);
  void CoolTrayIcon1Click(TObject* Sender);
  void CloseMeClick(TObject* Sender);
  void TimerTimer(TObject* Sender);

 protected:
  void Loaded() override;
};

}  // namespace ui
