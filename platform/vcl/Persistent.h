// The roots of the class library's object tree: TObject with its class name, and TPersistent,
// whose objects can be assigned to one another. Implementations in Persistent.cpp.
#pragma once

#include <string>

namespace vcl {

class TFiler;

class TObject {
public:
    TObject() = default;
    virtual ~TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;

    // The class name without namespace ("TFont"), from the dynamic type.
    virtual std::string ClassName() const;
};

class TPersistent : public TObject {
public:
    // Copies Source into this object; raises EConvertError when neither side knows how.
    virtual void Assign(TPersistent* Source);

protected:
    virtual void AssignTo(TPersistent* Dest);
    // Declares the data stored with the object besides its published properties.
    virtual void DefineProperties(TFiler* /*Filer*/) {}

private:
    friend class TReader;
    friend class TWriter;
};

} // namespace vcl
