// SPDX-License-Identifier: MIT
// Turns the User Guide's Markdown into the HTML the package ships: md2html IN.md OUT.html.
#include <QFile>
#include <QGuiApplication>
#include <QTextDocument>
#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "Usage: md2html IN.md OUT.html\n");
        return 2;
    }
    // A build machine has no display; the text layout needs none.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QFile in(QString::fromLocal8Bit(argv[1]));
    if (!in.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "md2html: cannot read %s\n", argv[1]);
        return 1;
    }
    QTextDocument document;
    document.setMarkdown(QString::fromUtf8(in.readAll()));
    QFile out(QString::fromLocal8Bit(argv[2]));
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        out.write(document.toHtml().toUtf8()) < 0 || !out.flush()) {
        std::fprintf(stderr, "md2html: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
