// The notice of a window whose device is not there to answer it: never
// connected, unplugged, or its link lost. Shown in the information window.
#pragma once

#include <QString>

#include "state/Language.h"

namespace sonoria {

inline constexpr int kDisconnectedNoticeMs = 1200;

inline QString DisconnectedNotice() {
    return IsEnglish() ? QStringLiteral("Device is disconnected!") : QString::fromUtf8("设备没有连接!");
}

}  // namespace sonoria
