// The notice that a synchronisation failed or was given up, shown by the
// progress window and by the device session alike.
#pragma once

namespace sonoria {

inline constexpr const char* kSyncGiveUpText = "错误,建议重连设备";
inline constexpr int kSyncGiveUpInfoMs = 1800;

}  // namespace sonoria
