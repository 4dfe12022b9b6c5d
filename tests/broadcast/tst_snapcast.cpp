#include "AudioClip.h"
#include "AudioDevice.h"
#include "AudioMixer.h"
#include "ControlLine.h"
#include "SnapcastSetup.h"

#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

#include <atomic>

class SnapcastTest : public QObject
{
    Q_OBJECT

private slots:
    void connectedClients_countsOnlyConnectedOnesOfItsReply()
    {
        const QByteArray reply =
            R"({"id":7,"jsonrpc":"2.0","result":{"server":{"groups":[)"
            R"({"clients":[{"connected":true},{"connected":false}]},)"
            R"({"clients":[{"connected":true},{"connected":true}]}]}}})";
        QCOMPARE(SnapcastSetup::connectedClients(reply, 7), 3);
        QCOMPARE(SnapcastSetup::connectedClients(reply, 8), -1); // an older question's answer
        QCOMPARE(SnapcastSetup::connectedClients(R"({"id":7,"error":{"code":-32601}})", 7), -1);
        QCOMPARE(SnapcastSetup::connectedClients("not json", 7), -1);
        // The request is one line, as the control port reads them.
        QVERIFY(SnapcastSetup::statusRequest(7).endsWith("}\n"));
    }

    // The status question: the request reaches the server, an answer split
    // over two writes comes back as one line; a closed port fails.
    void controlLine_answersOneLineOrFails()
    {
        QTcpServer server;
        QVERIFY(server.listen(QHostAddress::LocalHost));
        QByteArray asked;
        connect(&server, &QTcpServer::newConnection, this, [&] {
            QTcpSocket *peer = server.nextPendingConnection();
            connect(peer, &QTcpSocket::readyRead, peer, [&asked, peer] {
                asked += peer->readAll();
                if (!asked.endsWith('\n'))
                    return;
                peer->write(R"({"id":1,)");
                peer->flush();
                peer->write("\"result\":{}}\nnext");
            });
        });
        ControlLine question(QStringLiteral("127.0.0.1"), server.serverPort(), "{\"id\":1}\n");
        QSignalSpy answered(&question, &ControlLine::answered);
        QSignalSpy failed(&question, &ControlLine::failed);
        question.start();
        QTRY_COMPARE(answered.size(), 1);
        QCOMPARE(answered.first().first().toByteArray(), QByteArray(R"({"id":1,"result":{}})" "\n"));
        QCOMPARE(asked, QByteArray("{\"id\":1}\n"));
        QCOMPARE(failed.size(), 0);

        const quint16 closed = server.serverPort();
        server.close();
        ControlLine unanswered(QStringLiteral("127.0.0.1"), closed, "{}\n");
        QSignalSpy refused(&unanswered, &ControlLine::failed);
        unanswered.start();
        QTRY_COMPARE(refused.size(), 1);
    }

    void openFails_whenNoServerListens()
    {
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost));
        const int port = probe.serverPort();
        probe.close();
        AudioMixer mixer;
        auto device = makeSnapcastAudioDevice({QStringLiteral("127.0.0.1"), port, 0, {}});
        QVERIFY(!device->open(&mixer));
        QVERIFY(!device->isOpen());
    }

    // The stream runs at the wall clock's pace; a server gone stops the clock
    // and is reported, and one back is taken up again.
    void device_pacesAndFollowsTheServer()
    {
        QTcpServer server;
        QVERIFY(server.listen(QHostAddress::LocalHost));
        std::atomic_int downs {0}, ups {0};
        BroadcastTarget target {QStringLiteral("127.0.0.1"), server.serverPort(), 0,
                                [&](bool up) { ++(up ? ups : downs); }};
        AudioMixer mixer;
        auto device = makeSnapcastAudioDevice(target);
        QVERIFY(device->open(&mixer));
        QVERIFY(server.waitForNewConnection(1000));
        QTcpSocket *peer = server.nextPendingConnection();
        QElapsedTimer clock;
        clock.start();
        qint64 received = 0;
        while (clock.elapsed() < 400) {
            peer->waitForReadyRead(50);
            received += peer->readAll().size();
        }
        const qint64 frames = received / (2 * AudioClip::Channels);
        const qint64 expected = clock.elapsed() * AudioClip::Rate / 1000;
        // 120 ms sent ahead, 10 ms pieces; a loaded machine may lag a little.
        QVERIFY2(qAbs(frames - expected - AudioClip::Rate * 120 / 1000) < AudioClip::Rate * 40 / 1000,
                 qPrintable(QStringLiteral("%1 frames in %2 ms").arg(frames).arg(clock.elapsed())));

        peer->close();
        QTRY_COMPARE_WITH_TIMEOUT(downs.load(), 1, 2000);
        const qint64 stood = mixer.renderedFrames();
        QTest::qWait(100);
        QCOMPARE(mixer.renderedFrames(), stood);

        QVERIFY(server.waitForNewConnection(2000));
        QTRY_COMPARE_WITH_TIMEOUT(ups.load(), 1, 2000);
        QTRY_VERIFY_WITH_TIMEOUT(mixer.renderedFrames() > stood, 1000);
        device->close();
        QVERIFY(!device->isOpen());
    }
};

QTEST_GUILESS_MAIN(SnapcastTest)
#include "tst_snapcast.moc"
