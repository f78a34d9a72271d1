// The socket error link: every error of the socket layer reads as a code and
// Russian description that data/wserror.dat lists, row for row.
#include "net/socket_errors.h"
#include "settings/bytetext.h"
#include "tests/support/temp_program_folder.h"

#include <QMetaEnum>
#include <gtest/gtest.h>

namespace {

TEST(SocketErrors, EveryErrorOfTheSocketLayerHasARowOfTheShippedList) {
    TempProgramFolder folder;
    const QString doc = cp1251::toUnicode(folder.read("data/wserror.dat"));
    ASSERT_FALSE(doc.isEmpty());
    for (const SocketErrorCode& entry : SocketErrorCodes()) {
        const QString row =
            QString("<tr><td><b>%1</b></td><td>%2</td>").arg(entry.code).arg(entry.description);
        EXPECT_TRUE(doc.contains(row)) << row.toStdString();
    }
    const QMetaEnum errors = QMetaEnum::fromType<QAbstractSocket::SocketError>();
    for (int i = 0; i < errors.keyCount(); ++i) {
        const SocketErrorCode code =
            SocketErrorFor(QAbstractSocket::SocketError(errors.value(i)), QString());
        const QString link = SocketErrorLinkText(code);
        EXPECT_TRUE(doc.contains(QString("<b>%1</b>").arg(code.code))) << errors.key(i);
        EXPECT_FALSE(link.contains(errors.key(i)));
        EXPECT_FALSE(link.contains(QLatin1String("Error")));
    }
}

TEST(SocketErrors, TheCommonFailuresReadAsTheirOwnCodes) {
    auto link = [](QAbstractSocket::SocketError e, const char* text = "") {
        return SocketErrorLinkText(SocketErrorFor(e, QString::fromLatin1(text)));
    };
    EXPECT_EQ(link(QAbstractSocket::ConnectionRefusedError, "Connection refused"),
              "Ошибка 10061 (В подключении отказано)");
    EXPECT_EQ(link(QAbstractSocket::HostNotFoundError, "Host not found"),
              "Ошибка 11001 (Сервер не найден)");
    EXPECT_EQ(link(QAbstractSocket::SocketTimeoutError, "Connection timed out"),
              "Ошибка 10060 (Превышено время ожидания)");
    EXPECT_EQ(link(QAbstractSocket::RemoteHostClosedError),
              "Ошибка 10054 (Соединение сброшено сервером)");
    // The toolkit folds these into one network error and tells them apart
    // only by its text.
    EXPECT_EQ(link(QAbstractSocket::NetworkError, "Connection timed out"),
              "Ошибка 10060 (Превышено время ожидания)");
    EXPECT_EQ(link(QAbstractSocket::NetworkError, "Host unreachable"),
              "Ошибка 10065 (Сервер недоступен)");
    EXPECT_EQ(link(QAbstractSocket::NetworkError, "Network unreachable"),
              "Ошибка 10051 (Сеть недоступна)");
    EXPECT_EQ(link(QAbstractSocket::NetworkError, "Network is down"),
              "Ошибка 10050 (Сеть не работает)");
    EXPECT_EQ(link(QAbstractSocket::UnknownSocketError), "Ошибка -1 (Неизвестная ошибка сети)");
}

} // namespace
