#pragma once
// One running program per user: a second start hands its command-line file to the first over a
// local socket private to the user, and exits.
#include <QLocalServer>
#include <QObject>
#include <QString>

namespace orbisk {

// The socket name of the user's instance; ORBISK_INSTANCE replaces it (tests run their own).
QString InstanceName();

// Hands the file (possibly empty) to a running instance; false when none answers.
bool HandOverToRunningInstance(const QString& name, const QString& file);

class SingleInstanceServer : public QObject {
    Q_OBJECT
public:
    explicit SingleInstanceServer(QObject* parent) : QObject(parent) {}
    // Starts listening; false when the name cannot be taken.
    bool Listen(const QString& name);

Q_SIGNALS:
    // A second start asked to be activated, with its file or an empty text.
    void Activate(const QString& file);

private:
    QLocalServer* server_ = nullptr;
};

}  // namespace orbisk
