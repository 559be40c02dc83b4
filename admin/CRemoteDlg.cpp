#include "admin/CRemoteDlg.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

#include <array>

#include "admin/DisconnectedNotice.h"
#include "controls/CGdipButton.h"
#include "controls/DialogTemplate.h"
#include "controls/LanguageTexts.h"
#include "state/Language.h"
#include "state/RemoteKeys.h"
#include "state/Synchronize.h"

namespace sonoria {
namespace {

constexpr QColor kBackground(32, 32, 32);
constexpr int kHiddenKey = 13;  // its area exists but is never shown

struct KeyArea {
    int id;
    const char* english;
    const char* chinese;
};
// Keys 1..15, in key order.
constexpr std::array<KeyArea, kRemoteKeyCount> kKeys = {{
    {1587, "you are studying key is Load Mode key 1", "您正在学习的键：载入模式一"},
    {1600, "you are studying key is Load Mode key 2", "您正在学习的键：载入模式二"},
    {1601, "you are studying key is Load Mode key 3", "您正在学习的键：载入模式三"},
    {1602, "you are studying key is Load Mode key 4", "您正在学习的键：载入模式四"},
    {1603, "you are studying key is add mic vol ", "您正在学习的键：增加话筒音量"},
    {1604, "you are studying key is subtract mic vol", "您正在学习的键：减少话筒音量"},
    {1605, "you are studying key is add music vol", "您正在学习的键：增加音乐音量"},
    {1606, "you are studying key is subtract music vol", "您正在学习的键：减少音乐音量"},
    {1607, "you are studying key is mute vol", "您正在学习的键：静音"},
    {1608, "you are studying key is rising tone ", "您正在学习的键：升调"},
    {1609, "you are studying key is reset tone", "您正在学习的键：原调"},
    {1610, "you are studying key is falling tone", "您正在学习的键：降调"},
    {1611, "you are studying key is alert music source ", "您正在学习的键：切换音乐输入源"},
    {1612, "you are studying key is add effect vol", "您正在学习的键：增加效果音量"},
    {1613, "you are studying key is subtract effect vol", "您正在学习的键：减少效果音量"},
}};

const ControlSpec kControls[] = {
    {-1, ControlKind::Picture, "207", 0, 0, 141, 295},
    {1587, ControlKind::Label, "", 23, 214, 20, 16},
    {1600, ControlKind::Label, "", 99, 213, 20, 16},
    {1601, ControlKind::Label, "", 23, 238, 20, 16},
    {1602, ControlKind::Label, "", 99, 237, 20, 16},
    {1603, ControlKind::Label, "", 26, 132, 20, 16},
    {1604, ControlKind::Label, "", 26, 182, 20, 16},
    {1605, ControlKind::Label, "", 98, 132, 20, 16},
    {1606, ControlKind::Label, "", 98, 182, 20, 16},
    {1607, ControlKind::Label, "", 60, 156, 20, 16},
    {1608, ControlKind::Label, "", 96, 86, 20, 14},
    {1609, ControlKind::Label, "", 60, 86, 20, 14},
    {1610, ControlKind::Label, "", 23, 86, 20, 14},
    {1611, ControlKind::Label, "", 24, 28, 23, 14, kHidden},
    {1612, ControlKind::Label, "", 56, 214, 27, 14},
    {1613, ControlKind::Label, "", 56, 234, 27, 14},
    {kRemoteLoadId, ControlKind::ImageButton, "载入文件", 1, 297, 35, 16},
    {kRemoteSaveId, ControlKind::ImageButton, "保存文件", 36, 297, 35, 16},
    {kRemoteApplyId, ControlKind::ImageButton, "应用", 71, 297, 35, 16, kDefault},
    {kRemoteCancelId, ControlKind::ImageButton, "关闭", 106, 297, 35, 16},
};
const DialogSpec kTemplate{kRemoteDialogId, "遥控学习", 141, 314, kDialogFont8, kControls};

QString Localized(const char* english, const char* chinese) {
    return IsEnglish() ? QString::fromUtf8(english) : QString::fromUtf8(chinese);
}

}  // namespace

int CRemoteDlg::KeyAreaId(int key) {
    if (key < 1 || key > kRemoteKeyCount) return 0;
    return kKeys[static_cast<std::size_t>(key - 1)].id;
}

QString CRemoteDlg::KeyPrompt(int key) {
    if (key < 1 || key > kRemoteKeyCount) return {};
    const KeyArea& area = kKeys[static_cast<std::size_t>(key - 1)];
    return Localized(area.english, area.chinese);
}

CRemoteDlg::CRemoteDlg(QWidget* owner, Hooks hooks) : QDialog(owner), hooks_(std::move(hooks)) {
    BuildDialog(this, kTemplate);
    if (auto* picture = qobject_cast<QLabel*>(children().first())) picture->setScaledContents(true);
    for (int key = 1; key <= kRemoteKeyCount; ++key) {
        QWidget* area = FindControl(this, KeyAreaId(key));
        area->setCursor(Qt::PointingHandCursor);
        area->installEventFilter(this);
        if (key == kHiddenKey) area->hide();
    }
    const struct {
        int id, image;
        void (CRemoteDlg::*action)();
    } buttons[] = {
        {kRemoteLoadId, 293, &CRemoteDlg::LoadFile},
        {kRemoteSaveId, 293, &CRemoteDlg::SaveFile},
        {kRemoteApplyId, 292, &CRemoteDlg::Apply},
        {kRemoteCancelId, 293, nullptr},
    };
    for (const auto& b : buttons) {
        auto* button = FindControlAs<CGdipButton>(this, b.id);
        button->SetStandardImage(b.image);
        button->SetCaptionColor(Qt::white);
        if (b.action != nullptr) {
            connect(button, &QAbstractButton::clicked, this, b.action);
        } else {
            connect(button, &QAbstractButton::clicked, this, &QDialog::reject);  // hides; nothing is lost
        }
    }
    ApplyWindowLanguageTexts(this, kRemoteDialogId);
}

void CRemoteDlg::LearnKey(int key) {
    if (key < 1 || key > kRemoteKeyCount || !progress_.isNull()) return;
    // No device would answer: the learning window would wait for nothing.
    if (!LinkSound()) {
        ShowInfo(DisconnectedNotice());
        return;
    }
    // The learning window exists, texted and known, before the device is
    // asked: a fast answer must find it.
    auto* progress = new CRemoteStudyDlg(this);
    progress_ = progress;
    progress->SetPrompt(KeyPrompt(key));
    connect(progress, &QDialog::finished, this, [this, progress] {
        if (progress_ == progress) progress_ = nullptr;
        progress->deleteLater();
    });
    StartKeyLearning(key);
    progress->open();
}

void CRemoteDlg::Apply() {
    if (SendRemoteBlock()) {
        ShowInfo(Localized("Save remote control key successed !", "遥控器键码保存成功!"));
    } else {
        ShowInfo(DisconnectedNotice());
    }
}

void CRemoteDlg::LoadFile() {
    if (!hooks_.loadFile) return;
    const int result = hooks_.loadFile(this);
    if (result == 1) ShowInfo(QString::fromUtf8("载入遥控文件成功"));
    if (result == -1) ShowInfo(QString::fromUtf8("载入遥控文件失败"));
}

void CRemoteDlg::SaveFile() {
    if (!hooks_.saveFile) return;
    const int result = hooks_.saveFile(this);
    if (result == 1) ShowInfo(QString::fromUtf8("保存遥控文件成功"));
    if (result == -1) ShowInfo(QString::fromUtf8("保存遥控文件失败"));
}

void CRemoteDlg::ShowInfo(const QString& text) {
    if (hooks_.showInfo) hooks_.showInfo(text, kRemoteInfoMs);
}

bool CRemoteDlg::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        const int id = ControlId(qobject_cast<QWidget*>(watched));
        for (int key = 1; key <= kRemoteKeyCount; ++key) {
            if (KeyAreaId(key) == id) {
                LearnKey(key);
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void CRemoteDlg::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), kBackground);
}

}  // namespace sonoria
