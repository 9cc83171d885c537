#include "support/persistent.h"

namespace tvx {

void TPersistent::Assign(const TPersistent* Source) {
    if (Source != nullptr) {
        Source->AssignTo(*this);
        return;
    }
    AssignError(nullptr);
}

void TPersistent::AssignTo(TPersistent& Dest) const {
    Dest.AssignError(this);
}

void TPersistent::AssignError(const TPersistent* Source) const {
    QString sourceName = Source != nullptr ? Source->ClassName() : QStringLiteral("nil");
    throw EConvertError(QStringLiteral("Cannot assign a %1 to a %2").arg(sourceName, ClassName()));
}

} // namespace tvx
