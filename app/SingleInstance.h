// Making sure one copy of the program runs per user: a lock file marks the
// running copy, and a local socket lets a second start bring the first one's
// window to the front. Both live in the user's runtime folder, so another
// user of the machine runs a copy of their own.
#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

namespace sonoria {

inline constexpr const char* kInstanceName = "Sonoria-Mixer-II";
inline constexpr const char* kInstanceCreateFailed = "创建信标对象失败，程序退出！";
inline constexpr const char* kInstanceWindowMissing = "已有一个实例在运行，但找不到它的主窗口！";

class SingleInstance : public QObject {
    Q_OBJECT
public:
    enum class Outcome {
        First,            // this is the only copy: go on
        HandedOver,       // the running copy was brought to the front: stop
        WindowNotFound,   // a copy runs but did not answer: tell the user, go on
        Failed,           // the mark could not be made: tell the user, stop
    };

    // `name` is kInstanceName in the program; tests use their own. `folder`
    // is the user's runtime folder unless given.
    explicit SingleInstance(QString name = QString::fromLatin1(kInstanceName), QString folder = {},
                            QObject* parent = nullptr);
    ~SingleInstance() override;

    Outcome Check();

    // Where the mark and the socket are; empty when the user has no runtime folder.
    QString LockPath() const;
    QString ServerPath() const;

    // Starts answering later starts (the main window exists from now on).
    bool Listen();

signals:
    // A second start asked for the window to be shown.
    void activationRequested();

private:
    QString name_;
    QString folder_;
    std::unique_ptr<QLockFile> lock_;
    QLocalServer server_;
};

// Runs the check as the program's start-up does, with the two message boxes;
// returns whether start-up goes on.
bool CheckSingleInstance(SingleInstance& instance);

}  // namespace sonoria
