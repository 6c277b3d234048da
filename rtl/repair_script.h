// The repair batch: the eight network-maintenance command lines that R.bat carries, and the
// log lines a repair writes.
#pragma once

#include <array>
#include <string_view>

namespace rtl {

// Lines 2-4 have no blank before their switch, line 5 has one: cmd takes both forms.
inline constexpr std::array<std::string_view, 8> RepairScript = {
    "cd\\",
    "ipconfig/release",
    "ipconfig/renew",
    "ipconfig/flushdns",
    "ipconfig /registerdns",
    "arp -d",
    "Nbtstat -R",
    "Nbtstat -RR",
};

inline constexpr std::string_view RepairScriptFileName = "R.bat";

inline constexpr std::string_view RepairWaitLine = "请稍候正在修复网络连接.";
// Followed directly by the clock text of the status bar.
inline constexpr std::string_view RepairSuccessLine = "网络连接修复成功.";
inline constexpr std::string_view RepairFailureLine = "网络连接修复失败.";

}  // namespace rtl
