#include "AudioLibraries.h"
#include "AudioShaping.h"
#include "OnDemandLibrary.h"
#include "VerseShaper.h"

#include <QTest>

#include <cmath>
#include <dlfcn.h>
#include <thread>
#include <vector>

// A function of a library no system has, forwarded as the sound libraries' are.
extern "C" int qtutakaze_absent_function(int value);

namespace {
OnDemandLibrary absentLibrary("libqtutakaze-absent.so.1");
}

extern "C" {
QTUTAKAZE_FORWARD(absentLibrary, int, qtutakaze_absent_function, (int value), (value), -value)
}

class TestOnDemandLibrary : public QObject
{
    Q_OBJECT

private slots:
    void missingLibrary_givesTheFailureValueAndSaysSoOnce()
    {
        const QRegularExpression warning("could not load libqtutakaze-absent\\.so\\.1");
        QTest::ignoreMessage(QtWarningMsg, warning);
        QTest::failOnWarning(warning);
        QCOMPARE(qtutakaze_absent_function(3), -3);
        QCOMPARE(qtutakaze_absent_function(4), -4);
        QVERIFY(!absentLibrary.isLoaded());
        QVERIFY(!absentLibrary.load());
    }

    void presentLibrary_opensOnceForThreadsCallingAtOnce()
    {
        OnDemandLibrary math("libm.so.6");
        QVERIFY(!math.isLoaded());
        std::vector<double (*)(double)> found(4, nullptr);
        std::vector<std::thread> callers;
        for (auto &function : found)
            callers.emplace_back(
                [&math, &function] { function = math.resolve<double(double)>("cos"); });
        for (auto &caller : callers)
            caller.join();
        QVERIFY(math.isLoaded());
        for (auto *function : found)
            QCOMPARE(function ? function(0.0) : 0.0, 1.0);
        QVERIFY(!math.resolve<void()>("qtutakaze_no_such_function"));
    }

    // Each library is in memory only once something needs it: neither
    // output's before an output opens, the shaper's with the first verse shaped.
    void soundLibraries_openWhenNeededOnly()
    {
        QVERIFY(!pulseLibrary.isLoaded() && !sdlLibrary.isLoaded());

        const auto rubberBandInMemory = [] {
            void *const handle = ::dlopen("librubberband.so.2", RTLD_NOW | RTLD_NOLOAD);
            if (handle)
                ::dlclose(handle);
            return handle != nullptr;
        };
        const std::vector<float> second(44100 * 2, 0.25f);
        QCOMPARE(VerseShaper::shape(second, 2, 44100, AudioShaping {}).size(), second.size());
        QVERIFY(!rubberBandInMemory());
        const size_t stretched = VerseShaper::changeSpeed(second, 2, 44100, 1.25).size();
        QVERIFY(rubberBandInMemory());
        QVERIFY(std::abs(double(stretched) / double(second.size()) - 0.8) < 0.01);
    }
};

QTEST_GUILESS_MAIN(TestOnDemandLibrary)
#include "tst_ondemandlibrary.moc"
