// One small non-copyable owner per kind of Windows resource, each released on every path.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <utility>

namespace platform {

template <typename Traits>
class Unique {
 public:
  using Handle = typename Traits::Handle;

  Unique() = default;
  explicit Unique(Handle handle) : handle_(handle) {}
  Unique(Unique&& other) noexcept : handle_(other.Detach()) {}
  Unique& operator=(Unique&& other) noexcept {
    if (this != &other) Reset(other.Detach());
    return *this;
  }
  Unique(const Unique&) = delete;
  Unique& operator=(const Unique&) = delete;
  ~Unique() { Reset(); }

  Handle Get() const { return handle_; }
  explicit operator bool() const { return handle_ != Traits::Invalid(); }
  Handle Detach() { return std::exchange(handle_, Traits::Invalid()); }
  void Reset(Handle handle = Traits::Invalid()) {
    if (handle_ != Traits::Invalid()) Traits::Close(handle_);
    handle_ = handle;
  }
  // For out-parameters of API calls: releases what is held and hands out the slot.
  Handle* Put() {
    Reset();
    return &handle_;
  }

 private:
  Handle handle_ = Traits::Invalid();
};

struct KernelHandleTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { (void)CloseHandle(h); }
};
// File handles use INVALID_HANDLE_VALUE, not null, for "none".
struct FileHandleTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(Handle h) { (void)CloseHandle(h); }
};
struct IconTraits {
  using Handle = HICON;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { (void)DestroyIcon(h); }
};
struct MenuTraits {
  using Handle = HMENU;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { (void)DestroyMenu(h); }
};
struct FontTraits {
  using Handle = HFONT;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { (void)DeleteObject(h); }
};
struct BrushTraits {
  using Handle = HBRUSH;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { (void)DeleteObject(h); }
};
struct ItemListTraits {
  using Handle = LPITEMIDLIST;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { CoTaskMemFree(h); }
};
struct WindowTraits {
  using Handle = HWND;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { (void)DestroyWindow(h); }
};

using UniqueHandle = Unique<KernelHandleTraits>;
using UniqueFile = Unique<FileHandleTraits>;
using UniqueIcon = Unique<IconTraits>;
using UniqueMenu = Unique<MenuTraits>;
using UniqueFont = Unique<FontTraits>;
using UniqueBrush = Unique<BrushTraits>;
using UniqueItemList = Unique<ItemListTraits>;
using UniqueWindow = Unique<WindowTraits>;

}  // namespace platform
