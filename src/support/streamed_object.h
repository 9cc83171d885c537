#pragma once
// Base of the objects that write themselves to a tag stream and read
// themselves back from it.
#include "support/persistent.h"

namespace tvx {

class TStream;

class TStreamedObject : public TPersistent {
public:
    QString ClassName() const override { return QStringLiteral("TStreamedObject"); }

    virtual void SaveToStream(TStream& Stream) const;
    virtual void LoadFromStream(TStream& Stream);
    // Number of bytes SaveToStream writes.
    virtual int StreamSize() const;
};

} // namespace tvx
