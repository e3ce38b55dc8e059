// The runtime folder the program names for Qt where the session names none.
#include "app/RuntimeDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using namespace fenwold;

namespace {

// Runs with the variable unset and puts back what the test process had.
class RuntimeDir : public ::testing::Test {
protected:
    RuntimeDir() : saved_(qgetenv("XDG_RUNTIME_DIR")), had_(qEnvironmentVariableIsSet("XDG_RUNTIME_DIR")) {
        qunsetenv("XDG_RUNTIME_DIR");
    }
    ~RuntimeDir() override {
        if (had_)
            qputenv("XDG_RUNTIME_DIR", saved_);
        else
            qunsetenv("XDG_RUNTIME_DIR");
    }
    QString expected() const { return base.path() + QStringLiteral("/fenwold-runtime-%1").arg(::geteuid()); }

    QTemporaryDir base;

private:
    QByteArray saved_;
    bool had_;
};

mode_t modeOf(const QString& path) {
    struct stat info {};
    ::lstat(QFile::encodeName(path).constData(), &info);
    return info.st_mode & 0777;
}

TEST_F(RuntimeDir, APrivateFolderIsNamedOnceAndAFolderTheSessionNamesIsKept) {
    EXPECT_EQ(providePrivateRuntimeDir(base.path()), expected());
    EXPECT_EQ(qEnvironmentVariable("XDG_RUNTIME_DIR"), expected());
    EXPECT_TRUE(QFileInfo(expected()).isDir());
    EXPECT_EQ(modeOf(expected()), 0700u);
    // Named now: left alone.
    EXPECT_EQ(providePrivateRuntimeDir(base.path()), std::nullopt);
    EXPECT_EQ(qEnvironmentVariable("XDG_RUNTIME_DIR"), expected());
}

TEST_F(RuntimeDir, AFolderLeftOpenIsMadePrivateAgain) {
    ASSERT_TRUE(QDir().mkdir(expected()));
    ::chmod(QFile::encodeName(expected()).constData(), 0755);
    EXPECT_EQ(providePrivateRuntimeDir(base.path()), expected());
    EXPECT_EQ(modeOf(expected()), 0700u);
}

TEST_F(RuntimeDir, ALinkOrAFileInItsPlaceIsNotUsed) {
    const QString elsewhere = base.filePath("elsewhere");
    ASSERT_TRUE(QDir().mkdir(elsewhere));
    ASSERT_TRUE(QFile::link(elsewhere, expected()));
    EXPECT_EQ(providePrivateRuntimeDir(base.path()), std::nullopt);
    EXPECT_FALSE(qEnvironmentVariableIsSet("XDG_RUNTIME_DIR"));

    QFile::remove(expected());
    QFile file(expected());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    EXPECT_EQ(providePrivateRuntimeDir(base.path()), std::nullopt);
    EXPECT_FALSE(qEnvironmentVariableIsSet("XDG_RUNTIME_DIR"));
}

} // namespace
