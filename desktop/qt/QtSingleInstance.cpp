#include "desktop/qt/QtSingleInstance.h"

#include <QCryptographicHash>
#include <QLocalSocket>
#include <QProcessEnvironment>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace orbisk {

QString InstanceName() {
    const QString forced = qEnvironmentVariable("ORBISK_INSTANCE");
    if (!forced.isEmpty()) return forced;
    QString user;
#ifdef Q_OS_UNIX
    user = QString::number(getuid());
#else
    user = qEnvironmentVariable("USERNAME");
#endif
    const QByteArray hash =
        QCryptographicHash::hash(user.toUtf8(), QCryptographicHash::Sha1).toHex().left(12);
    return QStringLiteral("orbisk-") + QString::fromLatin1(hash);
}

bool HandOverToRunningInstance(const QString& name, const QString& file) {
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(500)) return false;
    socket.write(file.toUtf8() + '\n');
    socket.flush();
    socket.waitForBytesWritten(1000);
    // Wait for the first instance to take the message before this process ends.
    socket.waitForReadyRead(2000);
    socket.disconnectFromServer();
    return true;
}

bool SingleInstanceServer::Listen(const QString& name) {
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(name)) {
        // A server left behind by a program that ended abnormally: nobody answers on it.
        QLocalServer::removeServer(name);
        if (!server_->listen(name)) return false;
    }
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (!socket->canReadLine()) return;
                const QString file = QString::fromUtf8(socket->readLine()).trimmed();
                socket->write("ok\n");
                socket->flush();
                Q_EMIT Activate(file);
            });
        }
    });
    return true;
}

}  // namespace orbisk
