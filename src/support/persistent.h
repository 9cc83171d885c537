#pragma once
// Root classes of the objects the support library and the chart model build on.
// TObject gives every object a virtual destructor, so an owning object array
// can destroy what it holds; TPersistent adds copying from another object.
#include "platform/exception.h"
#include <QString>

namespace tvx {

class TObject {
public:
    TObject() = default;
    TObject(const TObject&) = default;
    TObject& operator=(const TObject&) = default;
    virtual ~TObject() = default;

    // The class name shown in messages about failed assignments.
    virtual QString ClassName() const { return QStringLiteral("TObject"); }
};

// Raised when an object is asked to copy from an object it does not understand.
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

class TPersistent : public TObject {
public:
    QString ClassName() const override { return QStringLiteral("TPersistent"); }

    // Copies Source into this object. The default hands the request to the
    // source (AssignTo), which refuses with "Cannot assign a %s to a %s".
    virtual void Assign(const TPersistent* Source);

protected:
    virtual void AssignTo(TPersistent& Dest) const;
    [[noreturn]] void AssignError(const TPersistent* Source) const;
};

} // namespace tvx
