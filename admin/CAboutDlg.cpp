#include "admin/CAboutDlg.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>

#include "admin/DarkWindow.h"
#include "admin/ReleaseHistory.h"
#include "controls/CGdipButton.h"
#include "controls/DialogTemplate.h"
#include "controls/ImageLoader.h"
#include "link/LinkState.h"
#include "state/DeviceState.h"

namespace sonoria {
namespace {

constexpr int kOkImage = 293;
constexpr int kProgramIcon = 209;

const ControlSpec kControls[] = {
    {-1, ControlKind::Picture, "209", 14, 14, 20, 20},
    {-1, ControlKind::Label, "SONORIA-S2 版", 42, 14, 71, 8},
    {-1, ControlKind::Label, "版本 2.3", 42, 26, 61, 8},
    {-1, ControlKind::Label, "软件日期:2013-03-28", 117, 14, 81, 8},
    {kAboutHardwareId, ControlKind::Label, "", 117, 26, 77, 8},
    {kAboutSubVersionId, ControlKind::Label, "", 117, 40, 77, 8, kHidden},
    {kAboutLevelSwitchId, ControlKind::CheckBox, "电平检测", 219, 14, 52, 10, kHidden},
    {1, ControlKind::ImageButton, "确定", 217, 37, 50, 14, kDefault},
    {1038, ControlKind::Edit, "", 40, 37, 62, 14, kHidden},
    {1039, ControlKind::Edit, "", 40, 52, 62, 14, kHidden},
    // A little wider than the 44 units it was given, which the colon overran.
    {-1, ControlKind::Label, "软件更新日志:", 40, 71, 50, 8},
    {kAboutHistoryId, ControlKind::Frame, "", 40, 80, 228, 85},
};
const DialogSpec kTemplate{kAboutDialogId, "关于 SONORIA-S2", 279, 167, kDialogFont8, kControls};

}  // namespace

CAboutDlg::CAboutDlg(QWidget* owner, Hooks hooks) : QDialog(owner), hooks_(std::move(hooks)) {
    setAttribute(Qt::WA_DeleteOnClose);
    BuildDialog(this, kTemplate);
    MakeDark(this);
    if (auto* icon = qobject_cast<QLabel*>(children().first())) {
        icon->setPixmap(LoadPngPixmap(kProgramIcon));
        icon->setScaledContents(true);
    }
    // The history is a multi-line, read-only text with its own scroll bar.
    QWidget* placeholder = FindControl(this, kAboutHistoryId);
    auto* history = new QPlainTextEdit(this);
    history->setGeometry(placeholder->geometry());
    SetControlId(history, kAboutHistoryId);
    delete placeholder;
    history->setFont(font());
    history->setReadOnly(true);
    history->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    history->setPlainText(QString::fromUtf8(kReleaseHistory).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    history->setStyleSheet(QStringLiteral("QPlainTextEdit { color: white; background: rgb(32,32,32); }"));

    if (auto* ok = PrepareImageButton(this, 1, kOkImage)) connect(ok, &QAbstractButton::clicked, this, &QDialog::accept);
    if (g_bDeviceOpen.load() == 1) {
        FindControlAs<QLabel>(this, kAboutHardwareId)
            ->setText(QString::fromUtf8("硬件版本:%1").arg(QString::fromStdString(g_Device.hardwareVersion.Get())));
        auto* sub = FindControlAs<QLabel>(this, kAboutSubVersionId);
        sub->setText(QString::fromUtf8("子版本:") + QString::asprintf("%02d", g_Device.subVersion.load()));
        sub->show();
    }
    auto* levelSwitch = FindControlAs<QCheckBox>(this, kAboutLevelSwitchId);
    levelSwitch->setChecked(hooks_.levelDetection && hooks_.levelDetection());
    connect(levelSwitch, &QCheckBox::clicked, this, [this](bool checked) {
        if (hooks_.setLevelDetection) hooks_.setLevelDetection(checked);
    });
    installEventFilter(this);
    for (QWidget* child : findChildren<QWidget*>()) child->installEventFilter(this);
    if (owner != nullptr) move(owner->geometry().center() - rect().center());
}

bool CAboutDlg::eventFilter(QObject* watched, QEvent* event) {
    // F12 never reaches the window or its controls; with Ctrl and Shift it shows the machine name.
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_F12) {
            if (event->type() == QEvent::KeyPress &&
                (key->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier)) ==
                    (Qt::ControlModifier | Qt::ShiftModifier)) {
                RevealMachineName();
            }
            event->accept();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void CAboutDlg::RevealMachineName() {
    if (g_bDeviceOpen.load() != 1) return;
    auto* sub = FindControlAs<QLabel>(this, kAboutSubVersionId);
    sub->setText(QString::fromUtf8("机器名称:") + QString::fromStdString(g_Device.machineName.Get()));
    sub->show();
    FindControl(this, kAboutHardwareId)->show();
    FindControl(this, kAboutLevelSwitchId)->show();
}

void CAboutDlg::keyPressEvent(QKeyEvent* event) {
    // Enter is the OK button; Escape closes as the close box does.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace sonoria
