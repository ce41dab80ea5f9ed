#include "app/qt/program_icon.h"

#include <QString>

// The picture lives in this static library's resources, which the linker
// keeps only when something names them.
static void InitIconResources() {
    Q_INIT_RESOURCE(app);
}

namespace ornet5 {

QIcon ProgramIcon() {
    InitIconResources();
    return QIcon(QStringLiteral(":/ornet5/program-icon.png"));
}

}  // namespace ornet5
