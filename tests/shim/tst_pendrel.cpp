#include "FakeOleacc.h"
#include "MTestEnvironment.h"
#include "Pendrel.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLibrary>
#include <QTemporaryDir>
#include <QtTest>

#include <atomic>
#include <cstdint>
#include <thread>
#include <vector>

namespace {

const QString systemLibraryName = QStringLiteral("liboleacc.so");

// One copy of Pendrel under test. The loader keeps its state for the life of its module and
// a file of its own is a module of its own, so every case loads a fresh copy. Beside it lies
// the folder that plays the system folder, which Pendrel's native build takes from the
// environment variable PENDREL_SYSTEM_DIR.
class ShimCopy
{
public:
    ShimCopy()
    {
        QDir root(m_root.path());
        root.mkpath(QStringLiteral("program"));
        root.mkpath(QStringLiteral("system"));
        m_fake.setFileName(systemPath());
    }

    QString programPath() const { return m_root.filePath(QStringLiteral("program/") + systemLibraryName); }
    QString systemPath() const { return m_root.filePath(QStringLiteral("system/") + systemLibraryName); }

    bool installSystemLibrary(const QString& source) const { return QFile::copy(source, systemPath()); }
    bool linkSystemLibrary(const QString& target) const { return QFile::link(target, systemPath()); }

    // Loads Pendrel from path, copied there unless it already lies there, with this copy's
    // system folder in force.
    bool load(const QString& path)
    {
        if (!QFile::exists(path) && !QFile::copy(QStringLiteral(PENDREL_SHIM_PATH), path))
            return false;
        qputenv("PENDREL_SYSTEM_DIR", QFile::encodeName(m_root.filePath(QStringLiteral("system"))));
        m_shim.setFileName(path);
        if (!m_shim.load())
            return false;
        accessibleObjectFromWindow =
            reinterpret_cast<decltype(&::AccessibleObjectFromWindow)>(m_shim.resolve("AccessibleObjectFromWindow"));
        createStdAccessibleObject =
            reinterpret_cast<decltype(&::CreateStdAccessibleObject)>(m_shim.resolve("CreateStdAccessibleObject"));
        lresultFromObject = reinterpret_cast<decltype(&::LresultFromObject)>(m_shim.resolve("LresultFromObject"));
        return accessibleObjectFromWindow && createStdAccessibleObject && lresultFromObject;
    }

    // The record of the fake system library, from the very module that Pendrel loaded (a
    // fresh one, with no call recorded, when Pendrel never loaded it).
    const FakeOleaccCall* fakeLastCall()
    {
        const auto lastCall = reinterpret_cast<decltype(&::fakeOleaccLastCall)>(m_fake.resolve("fakeOleaccLastCall"));
        return lastCall ? lastCall() : nullptr;
    }

    decltype(&::AccessibleObjectFromWindow) accessibleObjectFromWindow = nullptr;
    decltype(&::CreateStdAccessibleObject) createStdAccessibleObject = nullptr;
    decltype(&::LresultFromObject) lresultFromObject = nullptr;

private:
    QTemporaryDir m_root;
    QLibrary m_shim;
    QLibrary m_fake;
};

// IID_IAccessible
const IID interfaceId = {0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};
const HWND window = reinterpret_cast<HWND>(0x5e11);
// OBJID_CLIENT, as the DWORD of AccessibleObjectFromWindow and the LONG of CreateStdAccessibleObject
const DWORD clientObjectId = 0xfffffffc;
const LONG signedClientObjectId = -4;
const WPARAM wParam = 0x7fff0003;
const LPUNKNOWN unknown = reinterpret_cast<LPUNKNOWN>(0xacce55);

// The check of the two exports that give an object for a window: they differ only in the
// type of the object id, in name and in the fake's answer.
template<typename ObjectId>
void checkObjectExport(ShimCopy& shim, HRESULT(WINAPI* function)(HWND, ObjectId, REFIID, void**), ObjectId objectId,
                       const char* name, HRESULT answer, bool forwarded)
{
    int sentinel = 0;
    void* const untouched = &sentinel;
    void* object = untouched;
    const HRESULT result = function(window, objectId, interfaceId, &object);
    if (!forwarded) {
        QCOMPARE(result, HRESULT(0));
        QCOMPARE(object, untouched);
        return;
    }
    QCOMPARE(result, answer);
    const FakeOleaccCall* call = shim.fakeLastCall();
    QVERIFY(call);
    QCOMPARE(QLatin1String(call->function), QLatin1String(name));
    QCOMPARE(call->window, window);
    QCOMPARE(call->objectId, std::int64_t(objectId));
    QCOMPARE(call->interfaceId, &interfaceId);
    QCOMPARE(call->object, &object);
    QCOMPARE(object, static_cast<const void*>(call));
}

} // namespace

enum class ShimPlacement { LoadedFromSystemFolder, LinkedFromSystemFolder, CopiedIntoSystemFolder };
Q_DECLARE_METATYPE(ShimPlacement)

class TestPendrel : public QObject
{
    Q_OBJECT

private slots:
    void forwardsWhatTheSystemLibraryHas_data();
    void forwardsWhatTheSystemLibraryHas();
    void missingSystemLibraryIsLookedForOnce();
    void firstCallsFromManyThreadsAllForward();
    void shimFoundAsSystemLibraryAnswersZero_data();
    void shimFoundAsSystemLibraryAnswersZero();

private:
    // Each calls one export of the shim with arguments of its own and checks that, when
    // forwarded, the call reached the fake system library unchanged and brought its answer
    // back, and otherwise that the shim answered 0 and left the output as it was.
    void checkAccessibleObjectFromWindow(ShimCopy& shim, bool forwarded);
    void checkCreateStdAccessibleObject(ShimCopy& shim, bool forwarded);
    void checkLresultFromObject(ShimCopy& shim, bool forwarded);
    void checkAllAnswerZero(ShimCopy& shim);
};

void TestPendrel::checkAccessibleObjectFromWindow(ShimCopy& shim, bool forwarded)
{
    checkObjectExport(shim, shim.accessibleObjectFromWindow, clientObjectId, "AccessibleObjectFromWindow",
                      FakeOleacc::accessibleObjectFromWindowAnswer, forwarded);
}

void TestPendrel::checkCreateStdAccessibleObject(ShimCopy& shim, bool forwarded)
{
    checkObjectExport(shim, shim.createStdAccessibleObject, signedClientObjectId, "CreateStdAccessibleObject",
                      FakeOleacc::createStdAccessibleObjectAnswer, forwarded);
}

void TestPendrel::checkLresultFromObject(ShimCopy& shim, bool forwarded)
{
    const LRESULT result = shim.lresultFromObject(interfaceId, wParam, unknown);
    if (!forwarded) {
        QCOMPARE(result, LRESULT(0));
        return;
    }
    QCOMPARE(result, FakeOleacc::lresultFromObjectAnswer);
    const FakeOleaccCall* call = shim.fakeLastCall();
    QVERIFY(call);
    QCOMPARE(QLatin1String(call->function), QLatin1String("LresultFromObject"));
    QCOMPARE(call->interfaceId, &interfaceId);
    QCOMPARE(call->wParam, wParam);
    QCOMPARE(call->unknown, unknown);
}

void TestPendrel::checkAllAnswerZero(ShimCopy& shim)
{
    checkAccessibleObjectFromWindow(shim, false);
    if (!QTest::currentTestFailed())
        checkCreateStdAccessibleObject(shim, false);
    if (!QTest::currentTestFailed())
        checkLresultFromObject(shim, false);
}

void TestPendrel::forwardsWhatTheSystemLibraryHas_data()
{
    QTest::addColumn<QString>("systemLibrary");
    QTest::addColumn<bool>("forwardsAccessibleObjectFromWindow");
    QTest::addColumn<bool>("forwardsCreateStdAccessibleObject");
    QTest::addColumn<bool>("forwardsLresultFromObject");

    QTest::newRow("no system library") << QString() << false << false << false;
    QTest::newRow("system library without LresultFromObject")
        << QStringLiteral(FAKE_OLEACC_WITHOUT_LRESULT_PATH) << true << true << false;
    QTest::newRow("complete system library") << QStringLiteral(FAKE_OLEACC_COMPLETE_PATH) << true << true << true;
}

void TestPendrel::forwardsWhatTheSystemLibraryHas()
{
    QFETCH(QString, systemLibrary);
    QFETCH(bool, forwardsAccessibleObjectFromWindow);
    QFETCH(bool, forwardsCreateStdAccessibleObject);
    QFETCH(bool, forwardsLresultFromObject);

    ShimCopy shim;
    if (!systemLibrary.isEmpty())
        QVERIFY(shim.installSystemLibrary(systemLibrary));
    QVERIFY(shim.load(shim.programPath()));

    // The first call decides for the rest of the process: the second round behaves the same.
    for (int round = 1; round <= 2; ++round) {
        checkLresultFromObject(shim, forwardsLresultFromObject);
        if (!QTest::currentTestFailed())
            checkAccessibleObjectFromWindow(shim, forwardsAccessibleObjectFromWindow);
        if (!QTest::currentTestFailed())
            checkCreateStdAccessibleObject(shim, forwardsCreateStdAccessibleObject);
        if (QTest::currentTestFailed())
            return;
    }
}

void TestPendrel::missingSystemLibraryIsLookedForOnce()
{
    ShimCopy shim;
    QVERIFY(shim.load(shim.programPath()));
    checkAccessibleObjectFromWindow(shim, false);
    if (QTest::currentTestFailed())
        return;

    // A library that appears after the failed load is never loaded.
    QVERIFY(shim.installSystemLibrary(QStringLiteral(FAKE_OLEACC_COMPLETE_PATH)));
    checkAllAnswerZero(shim);
    if (QTest::currentTestFailed())
        return;
    const FakeOleaccCall* call = shim.fakeLastCall();
    QVERIFY(call);
    QVERIFY(!call->function);
}

// The first calls race on the loading of the system library: every thread must wait for it
// and forward, none may answer 0 because another thread has only begun to load it. Fresh
// copies of the shim give the race several chances.
void TestPendrel::firstCallsFromManyThreadsAllForward()
{
    constexpr int copies = 20;
    constexpr int threadCount = 16;
    for (int copy = 0; copy < copies; ++copy) {
        ShimCopy shim;
        QVERIFY(shim.installSystemLibrary(QStringLiteral(FAKE_OLEACC_COMPLETE_PATH)));
        QVERIFY(shim.load(shim.programPath()));

        std::atomic<bool> start{false};
        std::vector<LRESULT> answers(threadCount, 0);
        std::vector<std::thread> threads;
        for (int i = 0; i < threadCount; ++i) {
            threads.emplace_back([&shim, &start, &answers, i] {
                while (!start.load(std::memory_order_acquire))
                    std::this_thread::yield();
                answers[i] = shim.lresultFromObject(interfaceId, wParam, unknown);
            });
        }
        start.store(true, std::memory_order_release);
        for (std::thread& thread : threads)
            thread.join();
        for (int i = 0; i < threadCount; ++i)
            QCOMPARE(answers[i], FakeOleacc::lresultFromObjectAnswer);
    }
}

void TestPendrel::shimFoundAsSystemLibraryAnswersZero_data()
{
    QTest::addColumn<ShimPlacement>("placement");

    QTest::newRow("shim loaded from the system folder") << ShimPlacement::LoadedFromSystemFolder;
    QTest::newRow("system library is a link to the shim") << ShimPlacement::LinkedFromSystemFolder;
    QTest::newRow("second copy of the shim in the system folder") << ShimPlacement::CopiedIntoSystemFolder;
}

// Forwarding to the shim itself would recurse until the stack overflows.
void TestPendrel::shimFoundAsSystemLibraryAnswersZero()
{
    QFETCH(ShimPlacement, placement);

    ShimCopy shim;
    switch (placement) {
    case ShimPlacement::LoadedFromSystemFolder:
        QVERIFY(shim.load(shim.systemPath()));
        break;
    case ShimPlacement::LinkedFromSystemFolder:
        QVERIFY(shim.linkSystemLibrary(shim.programPath()));
        QVERIFY(shim.load(shim.programPath()));
        break;
    case ShimPlacement::CopiedIntoSystemFolder:
        QVERIFY(shim.installSystemLibrary(QStringLiteral(PENDREL_SHIM_PATH)));
        QVERIFY(shim.load(shim.programPath()));
        break;
    }
    for (int round = 1; round <= 2 && !QTest::currentTestFailed(); ++round)
        checkAllAnswerZero(shim);
}

INVOICE_TEST_MAIN(TestPendrel)
#include "tst_pendrel.moc"
