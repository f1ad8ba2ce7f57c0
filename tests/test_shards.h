#pragma once
// A QtTest main whose test functions can be shared out between processes
// that run side by side: TEST_SHARD=i/n runs every n-th function from the
// i-th (1-based), in declaration order; without it, or with test functions
// named on the command line, every one runs as under QTEST_MAIN.
#include <QApplication>
#include <QMetaMethod>
#include <QtTest>

namespace test_shards {

inline QStringList shardFunctions(const QMetaObject& meta, int shard, int shards)
{
    const QStringList fixtures { "initTestCase", "cleanupTestCase", "init", "cleanup" };
    QStringList all;
    for (int i = meta.methodOffset(); i < meta.methodCount(); ++i) {
        const QMetaMethod m = meta.method(i);
        const QString name = QString::fromLatin1(m.name());
        if (m.methodType() == QMetaMethod::Slot && m.access() == QMetaMethod::Private && m.parameterCount() == 0
            && !name.endsWith("_data") && !fixtures.contains(name))
            all << name;
    }
    QStringList mine;
    for (int i = shard - 1; i < all.size(); i += shards)
        mine << all[i];
    return mine;
}

template <class TestObject> int run(int argc, char** argv)
{
    QApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    TestObject tc;
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    const QStringList shard = qEnvironmentVariable("TEST_SHARD").split('/');
    if (shard.size() == 2 && argc == 1) {
        const QStringList mine = shardFunctions(TestObject::staticMetaObject, shard[0].toInt(), shard[1].toInt());
        if (mine.isEmpty())
            qFatal("TEST_SHARD=%s names no test function", qPrintable(shard.join('/')));
        args << mine;
    }
    return QTest::qExec(&tc, args);
}

} // namespace test_shards

#define TEST_MAIN_IN_SHARDS(TestObject)                                                                                 \
    int main(int argc, char** argv) { return test_shards::run<TestObject>(argc, argv); }
