#ifndef DORVEX_TESTENVIRONMENT_H
#define DORVEX_TESTENVIRONMENT_H

#include <QString>
#include <QTemporaryDir>
#include <QTest>

// Gives a test process its own settings store (a temporary XDG_CONFIG_HOME)
// and its own working folder, so that no test ever reads or writes the
// user's real settings or depends on where it was started from.
// Must be created before the application object and any QSettings.
class TestEnvironment
{
public:
    TestEnvironment();
    ~TestEnvironment();

    TestEnvironment(const TestEnvironment &) = delete;
    TestEnvironment &operator=(const TestEnvironment &) = delete;

    static TestEnvironment &instance();

    // The same identity as the program registers at start-up.
    static void registerIdentity();

    QString configHome() const;
    QString workingFolder() const;
    // The file behind the store, as the platform's native format keeps it.
    QString settingsFile() const;

    // Empties the store (and the working folder's photos and translations).
    void reset();

    // Puts a file where the store's folder belongs, so that nothing can be
    // saved, not even by root; unblockStore() takes it away again.
    bool blockStore();
    void unblockStore();

private:
    QTemporaryDir configDir;
    QTemporaryDir workDir;
    static TestEnvironment *current;
};

// A QTest main that sets up the private environment before anything else.
#define DORVEX_TEST_MAIN(TestObject)                                                               \
    int main(int argc, char **argv)                                                                \
    {                                                                                              \
        TestEnvironment environment;                                                               \
        QApplication application(argc, argv);                                                      \
        TestEnvironment::registerIdentity();                                                       \
        QApplication::setQuitOnLastWindowClosed(false);                                            \
        TestObject test;                                                                           \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        return QTest::qExec(&test, argc, argv);                                                    \
    }

#endif
