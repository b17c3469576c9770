// Regression: test programs wrote the real user's ~/.config/QtProject.conf (file-dialog
// history) and caches.

#include <QSettings>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <pwd.h>
#include <unistd.h>

namespace {

bool underRealHome(const QString& path) {
    const passwd* pw = ::getpwuid(::getuid());
    const QString home = pw && pw->pw_dir ? QString::fromLocal8Bit(pw->pw_dir) : QString();
    return !home.isEmpty() && home != QStringLiteral("/") &&
           (path == home || path.startsWith(home + QLatin1Char('/')));
}

} // namespace

TEST(TestIsolation, NoUserLocationOfQtLiesInTheRealHome) {
    const QSettings dialogHistory(QSettings::UserScope, QStringLiteral("QtProject"));
    EXPECT_FALSE(underRealHome(dialogHistory.fileName())) << dialogHistory.fileName().toStdString();
    for (auto location :
         {QStandardPaths::ConfigLocation, QStandardPaths::GenericConfigLocation,
          QStandardPaths::CacheLocation, QStandardPaths::AppDataLocation, QStandardPaths::HomeLocation}) {
        const QString path = QStandardPaths::writableLocation(location);
        EXPECT_FALSE(underRealHome(path)) << path.toStdString();
    }
}
