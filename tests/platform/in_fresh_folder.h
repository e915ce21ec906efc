// A fresh temporary folder that is the working directory while a test runs.
#pragma once

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include <fstream>
#include <iterator>

namespace kestrin {

struct InFreshFolder : ::testing::Test {
    void SetUp() override { ASSERT_TRUE(folder_.isValid() && QDir::setCurrent(folder_.path())); }
    void TearDown() override { QDir::setCurrent(previous_); }
    static void put(const std::string& name, const std::string& bytes) {
        std::ofstream(name, std::ios::binary) << bytes;
    }
    static std::string contentOf(const std::string& name) {
        std::ifstream in(name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    static QStringList entries() {
        return QDir().entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot |
                                QDir::System);
    }
    QTemporaryDir folder_;
    const QString previous_ = QDir::currentPath();
};

} // namespace kestrin
