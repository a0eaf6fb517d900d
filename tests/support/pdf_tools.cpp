// SPDX-License-Identifier: MIT
#include "support/pdf_tools.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <optional>
#include <string>
#include <vector>

#if defined(_WIN32)
#include <windows.h>
#endif

namespace tevusb::testing {

namespace {

#if defined(_WIN32)
// One of Wine's own exports, or none on Windows proper.
template <typename Function>
Function wineExport(const wchar_t* module, const char* name) {
    const FARPROC proc = ::GetProcAddress(::GetModuleHandleW(module), name);
    return proc == nullptr ? nullptr
                           : reinterpret_cast<Function>(reinterpret_cast<void (*)()>(proc));
}

// Under Wine the tools are Linux programs. CreateProcess starts such a program without
// waiting for it or giving its output back, so it is started by Wine's own spawn, which
// waits; a shell sends its standard output to a file read afterwards.
std::optional<QByteArray> runLinuxProgram(const QString& program, const QStringList& arguments) {
    using Spawn = LONG(CDECL*)(char* const*, int);
    const auto spawn = wineExport<Spawn>(L"ntdll.dll", "__wine_unix_spawnvp");
    QTemporaryDir dir;
    if (spawn == nullptr || !dir.isValid()) {
        return std::nullopt;
    }
    const QString output = dir.filePath(QStringLiteral("output"));
    std::vector<std::string> words{"/bin/sh",
                                   "-c",
                                   "out=$1; shift; exec \"$@\" >\"$out\"",
                                   "sh",
                                   toolPath(output).toStdString(),
                                   program.toStdString()};
    for (const QString& argument : arguments) {
        words.push_back(argument.toStdString());
    }
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    if (spawn(argv.data(), 1) != 0) {
        return std::nullopt;
    }
    QFile file(output);
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    return file.readAll();
}
#endif

std::optional<QByteArray> run(const QString& program, const QStringList& arguments) {
#if defined(_WIN32)
    if (wineExport<void*>(L"ntdll.dll", "__wine_unix_spawnvp") != nullptr) {
        return runLinuxProgram(program, arguments);
    }
#endif
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        return std::nullopt;
    }
    return process.readAllStandardOutput();
}

}  // namespace

QString toolPath(const QString& path) {
#if defined(_WIN32)
    using UnixName = char*(CDECL*)(LPCWSTR);
    const auto unixName = wineExport<UnixName>(L"kernel32.dll", "wine_get_unix_file_name");
    if (unixName == nullptr) {
        return path;
    }
    const std::wstring wide = QDir::toNativeSeparators(path).toStdWString();
    char* name = unixName(wide.c_str());
    if (name == nullptr) {
        return path;
    }
    const QString result = QString::fromUtf8(name);
    ::HeapFree(::GetProcessHeap(), 0, name);
    return result;
#else
    return path;
#endif
}

QString runTool(const QString& program, const QStringList& arguments) {
    return QString::fromUtf8(run(program, arguments).value_or(QByteArray()));
}

QString pdfText(const QString& path) {
    return runTool(QStringLiteral(TEVUSB_PDFTOTEXT),
                   {QStringLiteral("-layout"), toolPath(path), QStringLiteral("-")});
}

QString pdfInfo(const QString& path) {
    return runTool(QStringLiteral(TEVUSB_PDFINFO), {toolPath(path)});
}

bool pdfPageToPng(const QString& pdf, int page, int dotsPerInch, const QString& pngBase) {
    const QString number = QString::number(page);
    return run(QStringLiteral(TEVUSB_PDFTOPPM),
               {QStringLiteral("-png"), QStringLiteral("-r"), QString::number(dotsPerInch),
                QStringLiteral("-f"), number, QStringLiteral("-l"), number,
                QStringLiteral("-singlefile"), toolPath(pdf), toolPath(pngBase)})
        .has_value();
}

}  // namespace tevusb::testing
