// A fresh temporary folder that is the working directory while a test runs.
#pragma once

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include <fstream>
#include <sstream>

namespace kestrin {

struct InFreshFolder : ::testing::Test {
    void SetUp() override { ASSERT_TRUE(folder_.isValid() && QDir::setCurrent(folder_.path())); }
    void TearDown() override { QDir::setCurrent(previous_); }
    static void put(const std::string& name, const std::string& bytes) {
        std::ofstream(name, std::ios::binary) << bytes;
    }
    static std::string contentOf(const std::string& name) {
        std::stringstream text;
        text << std::ifstream(name, std::ios::binary).rdbuf();
        return text.str();
    }
    static QStringList entries() {
        return QDir().entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot |
                                QDir::System);
    }
    QTemporaryDir folder_;
    const QString previous_ = QDir::currentPath();
};

} // namespace kestrin
