// marlo, the stand-in emulator: see marlo.h.
#include "marlo.h"

#include <QApplication>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>
#include <QWidget>

#include <cstdlib>
#include <iostream>

namespace {

// One line on standard error; control characters of a file name or switch become "?", so that
// the line stays one line.
int fail(std::string reason, int status) {
    for (char& c : reason) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = '?';
    }
    std::cerr << "marlo: " << reason << '\n';
    return status;
}

bool haveDisplay() {
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 && *x11) || (wayland && *wayland);
}

// The window of a plain run: it names the image and the switches and stays until closed.
int showWindow(int argc, char** argv, const marlo::Invocation& run, const std::string& file,
               const marlo::ImageFacts& facts) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QString::fromStdString("marlo - " + file));
    auto* layout = new QVBoxLayout(&window);
    auto* heading = new QLabel(QStringLiteral("<b>marlo, a stand-in emulator</b>"));
    layout->addWidget(heading);
    // File names and switch values are shown as typed, never read as markup.
    auto plain = [](const std::string& text) {
        auto* label = new QLabel(QString::fromStdString(text));
        label->setTextFormat(Qt::PlainText);
        return label;
    };
    layout->addWidget(plain("Image: " + file + " (" + std::to_string(facts.size) +
                            " bytes, CRC-32 " + marlo::hex8(facts.crc32) + ")"));
    const std::string switches = run.switchText();
    layout->addWidget(plain("Switches: " + (switches.empty() ? "(none)" : switches)));
    layout->addWidget(new QLabel(
        QStringLiteral("Nothing is emulated here. Close this window to go back to the launcher.")));
    auto* close = new QPushButton(QStringLiteral("&Close"));
    layout->addWidget(close);
    QObject::connect(close, &QPushButton::clicked, &window, &QWidget::close);
    for (const auto key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}) {
        auto* shortcut = new QShortcut(QKeySequence(key), &window);
        QObject::connect(shortcut, &QShortcut::activated, &window, &QWidget::close);
    }
    window.show();
    close->setFocus();
    return app.exec();
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    auto parsed = marlo::parseArguments(args);
    if (auto* error = std::get_if<std::string>(&parsed))
        return fail(*error, 2);
    const marlo::Invocation& run = std::get<marlo::Invocation>(parsed);

    const auto image = marlo::findImage(".", run.image);
    if (!image)
        return fail("no image named \"" + run.image + "\" in this folder", 1);
    const auto facts = marlo::readImageFacts(*image);
    if (!facts)
        return fail("cannot read \"" + image->filename().string() + "\"", 1);

    if (run.reporting()) {
        const std::string performance =
            run.performanceFrames ? marlo::performanceLine(*run.performanceFrames, *facts) : "";
        for (const std::string& line : marlo::reportLines(run, *facts, performance))
            std::cout << line << '\n';
        std::cout.flush();
        return std::cout ? 0 : 1;
    }

    const std::string file = image->filename().string();
    const std::string switches = run.switchText();
    std::cout << "marlo (stand-in emulator): " << file
              << ", switches: " << (switches.empty() ? "(none)" : switches);
    if (!haveDisplay()) {
        std::cout << "; no display, so no window is shown" << std::endl;
        return 0;
    }
    std::cout << std::endl;
    return showWindow(argc, argv, run, file, *facts);
}
