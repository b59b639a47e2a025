#pragma once

#include "archive/ArchiveTarget.h"
#include "archive/FirebirdClient.h"
#include "archive/TDm_Ldb.h"
#include "platform/ChildProcessRunner.h"
#include "support/TestEnvironment.h"

#include <QSqlQuery>

#include <memory>

// A private test environment with an empty embedded archive, opened: the
// fixture of the tests that register, import and verify.
struct ArchiveFixture
{
    std::unique_ptr<TestEnvironment> env;
    QString archive;
    bool terminated = false;
    std::unique_ptr<ChildProcessRunner> runner;
    std::unique_ptr<TDm_Ldb> dm;

    // False when the archive cannot be made or opened.
    bool setUp()
    {
        env = std::make_unique<TestEnvironment>();
        archive = env->root() + QStringLiteral("/archive.fdb");
        if (!createArchive(ArchiveTarget{QString(), archive}).isEmpty())
            return false;
        runner = std::make_unique<ChildProcessRunner>(terminated);
        dm = std::make_unique<TDm_Ldb>(*runner, env->programFolder());
        dm->pointConnection(ArchiveTarget{QString(), archive});
        return dm->open();
    }

    void tearDown()
    {
        dm.reset();
        runner.reset();
        env.reset();
    }

    // A file of the given bytes in the environment's folder.
    QString file(const QString& name, const QByteArray& bytes) const
    {
        const QString path = env->root() + u'/' + name;
        TestEnvironment::writeFile(path, bytes);
        return path;
    }

    int rows(const char* table) const
    {
        QSqlQuery q(dm->database());
        q.exec(QStringLiteral("select count(*) from %1").arg(QLatin1String(table)));
        q.next();
        const int n = q.value(0).toInt();
        q.finish();
        return n;
    }
};
