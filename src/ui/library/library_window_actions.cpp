// SPDX-License-Identifier: MIT
#include <QAction>
#include <QLabel>
#include <QTableView>

#include "library/export_plan.h"
#include "library/export_run.h"
#include "library/problem_list.h"
#include "ui/library/flight_table_model.h"
#include "ui/library/library_window.h"
#include "ui/library_service.h"
#include "ui/native_path.h"
#include "ui/user_prompts.h"

// The library window's commands: the questions are asked on the window thread, the work
// is done by the worker, and a summary names whatever did not work.

namespace tevusb::ui {

namespace {

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

QString pathText(const std::filesystem::path& p) {
    return ui::toQString(p);
}

QString plural(std::size_t n, const char* one, const char* many) {
    return q(library::counted(n, one, many));
}

QString problemList(const QStringList& problems) {
    std::vector<std::string> lines;
    for (const QString& p : problems) {
        lines.push_back(p.toStdString());
    }
    return q(library::listedProblems(lines));
}

}  // namespace

void LibraryWindow::showSummary(const QString& text, bool problem) {
    m_status->setText(text.section(QLatin1Char('\n'), 0, 0));
    userPrompts().messageBox(this, text, windowTitle(),
                             kMbOk | (problem ? kMbIconExclamation : kMbIconInformation));
    emit workDone();
}

void LibraryWindow::openSelected() {
    const std::vector<std::int64_t> ids = selectedIds();
    if (ids.empty() || !m_library || busy()) {
        return;
    }
    const int row = m_model->rowOf(ids.front());
    if (row < 0) {
        return;
    }
    const std::filesystem::path file =
        m_library->folder() / std::filesystem::path(m_model->record(row).archivePath);
    emit openRequested(pathText(file));
}

void LibraryWindow::importFile() {
    const QString chosen = userPrompts().fileDialog(
        this, FileDialogRequest::openDataSets(QStringLiteral("Import a data-set file")));
    if (!chosen.isEmpty()) {
        importPaths({std::filesystem::path(chosen.toStdString())});
    }
}

void LibraryWindow::importFolder() {
    FileDialogRequest request;
    request.mode = FileDialogRequest::Mode::Folder;
    request.title = QStringLiteral("Import every data-set file of a folder");
    const QString chosen = userPrompts().fileDialog(this, request);
    if (!chosen.isEmpty()) {
        importPaths({std::filesystem::path(chosen.toStdString())});
    }
}

void LibraryWindow::importPaths(std::vector<std::filesystem::path> paths) {
    std::shared_ptr<library::FlightLibrary> lib = m_library;
    if (!lib || paths.empty()) {
        return;
    }
    startJob(QStringLiteral("Importing..."), [this, lib, paths = std::move(paths)] {
        const std::vector<library::ItemOutcome> results =
            lib->importPaths(paths, progressReporter());
        std::size_t added = 0;
        std::size_t already = 0;
        bool cancelled = false;
        QStringList refused;
        for (const library::ItemOutcome& item : results) {
            const library::LibraryStatus status = item.outcome.status;
            if (item.outcome.ok()) {
                ++added;
            } else if (status == library::LibraryStatus::Duplicate) {
                ++already;
            } else if (status == library::LibraryStatus::Cancelled) {
                cancelled = true;
            } else {
                refused << QStringLiteral("%1: %2").arg(pathText(item.file.filename()),
                                                        q(item.outcome.message));
            }
        }
        QString text = QStringLiteral("Imported %1.").arg(plural(added, "flight", "flights"));
        if (already > 0) {
            text += QStringLiteral(" %1 already in the library.")
                        .arg(plural(already, "file was", "files were"));
        }
        if (cancelled) {
            text += QStringLiteral(" The import was cancelled.");
        }
        if (added == 0 && already == 0 && refused.isEmpty() && !cancelled) {
            text += QStringLiteral(" No data-set file (.tev) was found there.");
        }
        if (!refused.isEmpty()) {
            text += QStringLiteral("\n%1 refused:").arg(plural(refused.size(), "file", "files")) +
                    problemList(refused);
        }
        const bool problem = !refused.isEmpty() || cancelled;
        return [this, text, problem] {
            reload();
            showSummary(text, problem);
        };
    });
}

void LibraryWindow::exportSelected(library::ExportFormat format) {
    const std::vector<std::int64_t> ids = selectedIds();
    std::shared_ptr<library::FlightLibrary> lib = m_library;
    if (ids.empty() || !lib || busy()) {
        return;
    }
    FileDialogRequest request;
    request.mode = FileDialogRequest::Mode::Folder;
    request.title =
        QStringLiteral("Export %1 to folder").arg(plural(ids.size(), "flight", "flights"));
    const QString folder = userPrompts().fileDialog(this, request);
    if (folder.isEmpty()) {
        return;
    }
    std::vector<library::FlightRecord> flights;
    for (std::int64_t id : ids) {
        if (const int row = m_model->rowOf(id); row >= 0) {
            flights.push_back(m_model->record(row));
        }
    }
    const library::ExportNaming naming = m_nameByTime->isChecked()
                                             ? library::ExportNaming::DownloadTime
                                             : library::ExportNaming::FlightName;
    library::ExportPlan plan =
        library::planExport(flights, format, std::filesystem::path(folder.toStdString()), naming);
    const std::string question = library::replaceQuestion(plan);
    const bool replace = !question.empty() &&
                         userPrompts().messageBox(this, q(question), windowTitle(),
                                                  kMbYesNo | kMbIconQuestion) == MessageResult::Yes;
    startJob(QStringLiteral("Exporting..."), [this, lib, plan = std::move(plan), replace] {
        const library::ExportReport report =
            library::writeExport(*lib, plan, replace, progressReporter());
        return [this, text = q(report.summary), problem = report.problem()] {
            showSummary(text, problem);
        };
    });
}

void LibraryWindow::deleteSelected() {
    const std::vector<std::int64_t> ids = selectedIds();
    std::shared_ptr<library::FlightLibrary> lib = m_library;
    if (ids.empty() || !lib || busy()) {
        return;
    }
    const QString text = QStringLiteral(
                             "Delete %1 from the flight library?\n\nThe files are moved into "
                             "the \"deleted\" folder of %2, from where they can be imported again.")
                             .arg(plural(ids.size(), "flight", "flights"), pathText(lib->folder()));
    if (userPrompts().messageBox(this, text, windowTitle(), kMbYesNo | kMbIconExclamation) !=
        MessageResult::Yes) {
        return;
    }
    startJob(QStringLiteral("Deleting..."), [this, lib, ids] {
        QStringList failed;
        for (std::int64_t id : ids) {
            const library::Outcome out = lib->remove(id);
            if (!out.ok()) {
                failed << QStringLiteral("Flight %1: %2").arg(id).arg(q(out.message));
            }
        }
        return [this, failed, n = ids.size()] {
            reload();
            if (!failed.isEmpty()) {
                showSummary(QStringLiteral("Deleted %1 of %2.")
                                    .arg(n - static_cast<std::size_t>(failed.size()))
                                    .arg(plural(n, "flight", "flights")) +
                                problemList(failed),
                            true);
            } else {
                emit workDone();
            }
        };
    });
}

void LibraryWindow::rebuild() {
    if (busy()) {
        return;
    }
    const QString text =
        QStringLiteral(
            "Rebuild the index of the flight library in %1?\n\n"
            "Every flight file in the library is read again and the index is made anew from "
            "them. What was typed for each flight (rocket, motor, site, notes, comment, flight "
            "date) and the simulation kept with it are kept; the flight files themselves are not "
            "changed. With many flights this takes a while.")
            .arg(pathText(m_service.folder()));
    if (userPrompts().messageBox(this, text, windowTitle(), kMbYesNo | kMbIconQuestion) !=
        MessageResult::Yes) {
        return;
    }
    startRebuild(true);
}

void LibraryWindow::startRebuild(bool tellInBox) {
    startJob(QStringLiteral("Rebuilding the index from the flight files..."), [this, tellInBox] {
        const library::Outcome out = m_service.rebuild(progressReporter());
        return [this, out, tellInBox] {
            if (!out.ok()) {
                reload();
                showSummary(
                    QStringLiteral("The index could not be rebuilt: %1").arg(q(out.message)), true);
                return;
            }
            // Said under the count once the flights are shown again.
            m_afterLoad = q(out.message);
            reload();
            if (tellInBox) {
                userPrompts().messageBox(this, q(out.message), windowTitle(),
                                         kMbOk | kMbIconInformation);
            }
            emit workDone();
        };
    });
}

}  // namespace tevusb::ui
