#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>

#include "ShutdownScenarios.h"

using vpsdesk::ui::guitest::kScenarioVariable;

namespace {

// Runs this test binary again as the named scenario. The limit only stops a hung child
// from hanging the suite; the scenarios themselves finish in well under a second.
void ExpectScenarioPasses(const QString& name) {
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(kScenarioVariable), name);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(), {});
    ASSERT_TRUE(child.waitForStarted());
    const bool finished = child.waitForFinished(120000);
    if (!finished) child.kill();
    ASSERT_TRUE(finished) << "scenario " << name.toStdString() << " hung";
    EXPECT_EQ(child.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(child.exitCode(), 0) << child.readAllStandardError().toStdString();
}

}  // namespace

TEST(Shutdown, AWorkerWaitingWhenTheLoopQuitsIsReleasedUnrun) { ExpectScenarioPasses("quit"); }

TEST(Shutdown, ACallToADestroyedApplicationIsReleasedUnrun) { ExpectScenarioPasses("destroy"); }
