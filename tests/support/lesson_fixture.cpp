#include "tests/support/lesson_fixture.h"

#include "storage/project_file.h"

#include <QTemporaryDir>

bool WriteBlankLesson(const QString& path, int pages, QString* error)
{
    QTemporaryDir work;
    if (!work.isValid()) {
        *error = QStringLiteral("no work folder");
        return false;
    }
    storage::ProjectSnapshot project;
    for (int i = 0; i < pages; ++i) {
        NoteInfo page;
        page.name = page.path = QStringLiteral("WhiteBoard");
        page.create_data = QStringLiteral("2024010108000000%1").arg(i);
        page.width = 1280;
        page.height = 720;
        project.notes << page;
    }
    project.boardSize = project.pageSize = QSize(1280, 720);
    const storage::ProjectSaveResult result = storage::SaveProjectFile(
        project, work.path(), QStringLiteral("fixture"), path, [](const QString&, int) {});
    *error = result.error;
    return result.saved;
}
