// The application object: its window (which carries the taskbar button and owns the main
// form), its title, the message loop and the default error display.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <string_view>

#include "platform/window.h"

namespace platform {

class TForm;

class TApplication : public Window {
 public:
  TApplication();
  ~TApplication() override;

  // Initialises COM for this thread in the single-threaded apartment.
  void Initialize();

  const std::string& Title() const { return title_; }
  void SetTitle(std::string_view title);

  // Creates a form; the first one created becomes the main form.
  template <typename Form>
  Form& CreateForm() {
    auto form = std::make_unique<Form>();
    Form& ref = *form;
    Adopt(std::move(form));
    return ref;
  }
  TForm* MainForm() const { return main_form_.get(); }

  // Shows the main form, then handles messages until Terminate.
  void Run();
  // One pass: handles every waiting message, and those posted meanwhile, until none is left.
  void ProcessMessages();
  void Terminate();
  bool Terminated() const { return terminated_; }

  void ShowException(const std::string& message);

 protected:
  LRESULT WndProc(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  void Adopt(std::unique_ptr<TForm> form);
  bool ProcessMessage();
  void DestroyMainForm();

  std::string title_;
  std::unique_ptr<TForm> main_form_;
  bool com_initialized_ = false;
  bool terminated_ = false;
};

// The one application object, set while it lives.
extern TApplication* Application;

}  // namespace platform
