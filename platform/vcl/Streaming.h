// Component streaming: the registry of stream-able classes and their published properties, and
// TReader/TWriter, which store components in the binary object format of rtl/BinaryObjects.h.
// Implementations in Streaming.cpp.
#pragma once

#include "vcl/Classes.h"

#include "rtl/BinaryObjects.h"
#include "rtl/Exceptions.h"
#include "rtl/Modules.h"
#include "rtl/StringLists.h"
#include "rtl/Streams.h"
#include "rtl/StringLists.h"

#include <any>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <type_traits>
#include <typeindex>
#include <vector>

namespace vcl {

RTL_DECLARE_EXCEPTION(EFilerError, rtl::EStreamError);
RTL_DECLARE_EXCEPTION(EClassNotFound, EFilerError);

enum class TPropKind { Integer, Char, String, Boolean, Enumeration, Set, Class, Method, Component };

// One published property. Ordinal kinds (integer, character, Boolean, enumeration, set as a bit
// mask)
// go through GetOrd/SetOrd, strings through GetStr/SetStr; a class property names a sub-object
// whose own properties are stored under "Name.", or a collection, stored as one value of items.
// An event (Method) is stored as the name of the root's handler it is bound to, a reference to
// a component (Component) as the name of the root or of a component the root owns.
struct TPropInfo {
    std::string Name;
    TPropKind Kind = TPropKind::Integer;
    std::function<std::int64_t(TPersistent*)> GetOrd;
    std::function<void(TPersistent*, std::int64_t)> SetOrd;
    std::function<std::string(TPersistent*)> GetStr;
    std::function<void(TPersistent*, const std::string&)> SetStr;
    std::function<TPersistent*(TPersistent*)> GetObject;
    // Enumeration values, or the set's elements by bit number.
    std::vector<std::string> Names;
    // An ordinal equal to its default is not written; without one it always is.
    std::optional<std::int64_t> DefaultValue;
    // Null: always stored.
    std::function<bool(TPersistent*)> StoredProc;
    // Integers that have names (colours): a name for a value, or the value of a name.
    std::function<bool(std::int64_t, std::string&)> IntToIdent;
    std::function<bool(const std::string&, std::int64_t&)> IdentToInt;
    // An event: the handler's signature; binding a handler (a TMethodInfo's Bind result, or an
    // empty value to clear it); the name of the handler bound by name, "" for none.
    std::type_index Signature = typeid(void);
    std::function<void(TPersistent*, const std::any&)> SetMethod;
    std::function<std::string(TPersistent*)> GetMethodName;
    // A component reference; setting one of the wrong class answers false.
    std::function<TComponent*(TPersistent*)> GetComponent;
    std::function<bool(TPersistent*, TComponent*)> SetComponent;

    TPropInfo&& WithDefault(std::int64_t Value) && { DefaultValue = Value; return std::move(*this); }
    TPropInfo&& StoredWhen(std::function<bool(TPersistent*)> Proc) && {
        StoredProc = std::move(Proc);
        return std::move(*this);
    }
};

// A handler a form class publishes: its name, its signature, and the handler bound to a form
// of the class, as a std::function of that signature (whose target is a TNamedHandler).
struct TMethodInfo {
    std::string Name;
    std::type_index Signature = typeid(void);
    std::function<std::any(TPersistent* Root)> Bind;
};

// A field a form class publishes: set to the component of its name when the form is read;
// false when the component is not of the field's class.
struct TFieldInfo {
    std::string Name;
    std::function<bool(TPersistent* Root, TComponent* Component)> Set;
};

// A registered class: its parent's name (empty for none), how to make one (null for classes
// only ever streamed as sub-objects), its own properties and, for a form, the fields and
// handlers it publishes.
struct TClassInfo {
    std::string Name;
    std::string Parent;
    std::type_index Type = typeid(void);
    std::function<TComponent*(TComponent*)> Create;
    std::vector<TPropInfo> Properties;
    std::vector<TFieldInfo> Fields;
    std::vector<TMethodInfo> Methods;
    // Whether an object is of this class or a descendant: a form reads the resources of every
    // registered class it is one of, even when its own class is not registered.
    std::function<bool(const TPersistent*)> IsInstance;
};

// Registration is per library: each deliverable that links this one holds its own registry.
// Registering the same class again is ignored; another class under a taken name raises
// EFilerError.
void RegisterClassInfo(TClassInfo Info);
const TClassInfo* GetClass(const std::string& ClassName);   // null when not registered
const TClassInfo& FindClass(const std::string& ClassName);  // EClassNotFound "Class X not found"
// The published properties of a class and its parents, the parents' first.
std::vector<const TPropInfo*> GetPropList(const std::string& ClassName);
const TPropInfo* GetPropInfo(const std::string& ClassName, const std::string& PropName);
// The handler or field a class or one of its parents publishes under a name; null for none.
const TMethodInfo* FindMethod(const std::string& ClassName, const std::string& MethodName);
const TFieldInfo* FindField(const std::string& ClassName, const std::string& FieldName);

template <class T>
void RegisterClass(std::string Name, std::string Parent, std::vector<TPropInfo> Properties = {}) {
    TClassInfo info;
    info.Name = std::move(Name);
    info.Parent = std::move(Parent);
    info.Type = typeid(T);
    info.Properties = std::move(Properties);
    info.IsInstance = [](const TPersistent* o) { return dynamic_cast<const T*>(o) != nullptr; };
    if constexpr (std::is_base_of_v<TComponent, T> && std::is_constructible_v<T, TComponent*>)
        info.Create = [](TComponent* owner) -> TComponent* { return Make<T>(owner); };
    RegisterClassInfo(std::move(info));
}

// A form class with the fields and handlers its stored form binds by name. A form whose
// constructor takes more than its owner gives the maker that a designer (and the check of its
// form file) makes it with.
template <class T>
void RegisterFormClass(std::string Name, std::string Parent, std::vector<TFieldInfo> Fields,
                       std::vector<TMethodInfo> Methods, std::vector<TPropInfo> Properties = {},
                       std::function<TComponent*(TComponent*)> Create = nullptr) {
    TClassInfo info{std::move(Name), std::move(Parent), typeid(T), std::move(Create), std::move(Properties),
                    std::move(Fields), std::move(Methods), nullptr};
    if constexpr (std::is_constructible_v<T, TComponent*>) {
        if (!info.Create) info.Create = [](TComponent* owner) -> TComponent* { return Make<T>(owner); };
    }
    info.IsInstance = [](const TPersistent* o) { return dynamic_cast<const T*>(o) != nullptr; };
    RegisterClassInfo(std::move(info));
}

// A handler bound by name: what an event holds when a stored form set it, so that writing the
// form writes the name again.
template <class... A>
struct TNamedHandler {
    std::string Name;
    std::function<void(A...)> Call;
    void operator()(A... Args) const { Call(std::forward<A>(Args)...); }
};

namespace detail {
template <class> struct SetterArg;
template <class C, class A> struct SetterArg<void (C::*)(A)> { using type = std::remove_cvref_t<A>; };
template <class T> T& As(TPersistent* Instance) {
    auto* typed = dynamic_cast<T*>(Instance);
    if (!typed) throw rtl::EInvalidCast("Invalid class typecast");
    return *typed;
}
} // namespace detail

// Descriptors from a class's getter and setter members.
template <class T, class G, class S>
TPropInfo OrdProperty(TPropKind Kind, std::string Name, G Get, S Set, std::vector<std::string> Names = {}) {
    using V = typename detail::SetterArg<S>::type;
    TPropInfo info;
    info.Name = std::move(Name);
    info.Kind = Kind;
    info.GetOrd = [Get](TPersistent* o) { return static_cast<std::int64_t>((detail::As<T>(o).*Get)()); };
    info.SetOrd = [Set](TPersistent* o, std::int64_t v) { (detail::As<T>(o).*Set)(static_cast<V>(v)); };
    info.Names = std::move(Names);
    return info;
}
template <class T, class G, class S>
TPropInfo IntegerProperty(std::string Name, G Get, S Set) {
    return OrdProperty<T>(TPropKind::Integer, std::move(Name), Get, Set);
}
// Colours by the names forms store them under ("clBtnFace"), numbers for the others.
bool ColorToIdent(std::int64_t Color, std::string& Ident);
bool IdentToColor(const std::string& Ident, std::int64_t& Color);
template <class T, class G, class S>
TPropInfo ColorProperty(std::string Name, G Get, S Set) {
    TPropInfo info = OrdProperty<T>(TPropKind::Integer, std::move(Name), Get, Set);
    info.IntToIdent = ColorToIdent;
    info.IdentToInt = IdentToColor;
    return info;
}
template <class T, class G, class S>
TPropInfo CharProperty(std::string Name, G Get, S Set) {
    TPropInfo info = OrdProperty<T>(TPropKind::Char, std::move(Name), Get, Set);
    // Characters are bytes of the form's code page, whatever the signedness of char.
    info.GetOrd = [Get](TPersistent* o) {
        return static_cast<std::int64_t>(static_cast<unsigned char>((detail::As<T>(o).*Get)()));
    };
    return info;
}
template <class T, class G, class S>
TPropInfo BooleanProperty(std::string Name, G Get, S Set) {
    return OrdProperty<T>(TPropKind::Boolean, std::move(Name), Get, Set);
}
template <class T, class G, class S>
TPropInfo EnumProperty(std::string Name, G Get, S Set, std::vector<std::string> Names) {
    return OrdProperty<T>(TPropKind::Enumeration, std::move(Name), Get, Set, std::move(Names));
}
template <class T, class G, class S>
TPropInfo SetProperty(std::string Name, G Get, S Set, std::vector<std::string> Elements) {
    return OrdProperty<T>(TPropKind::Set, std::move(Name), Get, Set, std::move(Elements));
}
template <class T, class G, class S>
TPropInfo StringProperty(std::string Name, G Get, S Set) {
    TPropInfo info;
    info.Name = std::move(Name);
    info.Kind = TPropKind::String;
    info.GetStr = [Get](TPersistent* o) { return std::string((detail::As<T>(o).*Get)()); };
    info.SetStr = [Set](TPersistent* o, const std::string& v) { (detail::As<T>(o).*Set)(v); };
    return info;
}
template <class T, class G>
TPropInfo ClassProperty(std::string Name, G Get) {
    TPropInfo info;
    info.Name = std::move(Name);
    info.Kind = TPropKind::Class;
    info.GetObject = [Get](TPersistent* o) -> TPersistent* { return (detail::As<T>(o).*Get)(); };
    return info;
}

// An event property from the class's event field.
template <class T, class C, class... A>
TPropInfo EventProperty(std::string Name, std::function<void(A...)> C::*Field) {
    using E = std::function<void(A...)>;
    TPropInfo info;
    info.Name = std::move(Name);
    info.Kind = TPropKind::Method;
    info.Signature = typeid(void(A...));
    info.SetMethod = [Field](TPersistent* o, const std::any& h) {
        E& event = detail::As<T>(o).*Field;
        if (h.has_value()) event = std::any_cast<E>(h);
        else event = nullptr;
    };
    info.GetMethodName = [Field](TPersistent* o) -> std::string {
        const E& event = detail::As<T>(o).*Field;
        auto* named = event.template target<TNamedHandler<A...>>();
        return named ? named->Name : std::string();
    };
    return info;
}

// A property referring to another component of the form (FocusControl, ActiveControl).
template <class T, class G, class S>
TPropInfo ComponentProperty(std::string Name, G Get, S Set) {
    using V = typename detail::SetterArg<S>::type;
    TPropInfo info;
    info.Name = std::move(Name);
    info.Kind = TPropKind::Component;
    info.GetComponent = [Get](TPersistent* o) -> TComponent* { return (detail::As<T>(o).*Get)(); };
    info.SetComponent = [Set](TPersistent* o, TComponent* c) {
        V typed = dynamic_cast<V>(c);
        if (c && !typed) return false;
        (detail::As<T>(o).*Set)(typed);
        return true;
    };
    return info;
}

// A published handler of form class F.
template <class F, class... A>
TMethodInfo PublishedMethod(std::string Name, void (F::*Handler)(A...)) {
    TMethodInfo info;
    info.Name = Name;
    info.Signature = typeid(void(A...));
    info.Bind = [Name, Handler](TPersistent* Root) -> std::any {
        F* form = &detail::As<F>(Root);
        return std::function<void(A...)>(
            TNamedHandler<A...>{Name, [form, Handler](A... Args) { (form->*Handler)(std::forward<A>(Args)...); }});
    };
    return info;
}

// A published component field of form class F.
template <class F, class C>
TFieldInfo PublishedField(std::string Name, C* F::*Field) {
    TFieldInfo info;
    info.Name = std::move(Name);
    info.Set = [Field](TPersistent* Root, TComponent* Component) {
        auto* typed = dynamic_cast<C*>(Component);
        if (!typed) return false;
        detail::As<F>(Root).*Field = typed;
        return true;
    };
    return info;
}

class TReader;
class TWriter;

// A string list stored as a sub-object, its lines under "<Name>.Strings" as forms keep them.
class TStringsStorage : public TPersistent {
public:
    // The one storage of the running thread, bound to Strings for one read or write.
    static TStringsStorage* For(rtl::TStrings* Strings);

protected:
    void DefineProperties(TFiler* Filer) override;

private:
    rtl::TStrings* FStrings = nullptr;
};

// A string-list property (Items, Lines) from the class's getter of the list (a pointer or a reference).
template <class T, class G>
TPropInfo StringsProperty(std::string Name, G Get) {
    TPropInfo info;
    info.Name = std::move(Name);
    info.Kind = TPropKind::Class;
    info.GetObject = [Get](TPersistent* o) -> TPersistent* {
        auto&& strings = (detail::As<T>(o).*Get)();
        if constexpr (std::is_pointer_v<std::remove_cvref_t<decltype(strings)>>) return TStringsStorage::For(strings);
        else return TStringsStorage::For(&strings);
    };
    return info;
}

// What DefineProperties is handed: reading or writing, it declares the object's extra data.
class TFiler {
public:
    virtual ~TFiler() = default;
    TFiler(const TFiler&) = delete;
    TFiler& operator=(const TFiler&) = delete;

    TComponent* Root() const { return FRoot; }

    // A value (or list of values) read and written by the two procs. When writing, nothing is
    // written unless HasData; when reading, ReadData runs if the stream holds the property.
    // A null proc on one side: the property is only read (an obsolete one) or only written.
    virtual void DefineProperty(const std::string& Name, const std::function<void(TReader&)>& ReadData,
                                const std::function<void(TWriter&)>& WriteData, bool HasData) = 0;
    // Binary data, handed to the procs as a stream.
    virtual void DefineBinaryProperty(const std::string& Name,
                                      const std::function<void(rtl::TStream&)>& ReadData,
                                      const std::function<void(rtl::TStream&)>& WriteData,
                                      bool HasData) = 0;

protected:
    TFiler() = default;
    TComponent* FRoot = nullptr;
};

class TReader : public TFiler {
public:
    explicit TReader(rtl::TStream& Stream);

    // Reads "TPF0" and one component. With a root given its properties are read into it; else
    // one is made from the stored class name and owned by nobody. Every component read, the
    // root too, is loading while it is read and gets Loaded once the whole stream is read.
    // On a failure the components this read made are freed again.
    TComponent* ReadRootComponent(TComponent* Root);
    // Reads the properties of an object, up to and with the end of their list.
    void ReadProperties(TPersistent* Instance);
    // A component's properties, then its children, which it becomes the parent of.
    void ReadData(TComponent* Instance);

    // Values, for the procs of DefineProperty.
    std::int64_t ReadInteger();
    std::string ReadString();
    bool ReadBoolean();
    std::string ReadIdent();
    void ReadListBegin();
    bool EndOfList();
    void ReadListEnd();
    rtl::TValueType NextValue();

    void DefineProperty(const std::string& Name, const std::function<void(TReader&)>& ReadData,
                        const std::function<void(TWriter&)>& WriteData, bool HasData) override;
    void DefineBinaryProperty(const std::string& Name, const std::function<void(rtl::TStream&)>& ReadData,
                              const std::function<void(rtl::TStream&)>& WriteData, bool HasData) override;

private:
    TComponent* ReadComponent(TComponent* Parent);
    void ReadProperty(TPersistent* Instance);
    void ReadPropValue(TPersistent* Instance, const TPropInfo& Prop);
    void ReadCollection(TCollection* Collection);
    void ReadMethod(TPersistent* Instance, const TPropInfo& Prop);
    void BindField(TComponent* Component);
    void ResolveReferences();
    [[noreturn]] void InvalidValue();

    rtl::TBinaryObjectReader FReader;
    rtl::TStream& FStream;
    std::string FPropName; // the defined property waiting to be read
    std::vector<TComponent*> FMade; // freed again when the read fails
    TComponent* FCurrent = nullptr; // the component whose properties are being read
    std::string FRootClass;         // whose fields and handlers are bound
    struct TReference {
        TPersistent* Instance;
        const TPropInfo* Prop;
        std::string Name;  // of the component referred to
        std::string Where; // "Label1.FocusControl"
    };
    std::vector<TReference> FReferences; // set once every component is read
    int FDepth = 0;
    bool FPropRead = false;
};

class TWriter : public TFiler {
public:
    explicit TWriter(rtl::TStream& Stream);

    // Writes "TPF0" and the component with its properties and, as its class says, children.
    void WriteRootComponent(TComponent* Root);
    // Root as a form inherited from Ancestor (a form of Root's parent class, laid out by its
    // own resources): the root and every component Ancestor has too are written as inherited,
    // with only the values that differ from the ancestor's.
    void WriteDescendent(TComponent* Root, TComponent* Ancestor);
    void WriteComponent(TComponent* Component);
    // The stored published properties that differ from their defaults, then the defined ones.
    void WriteProperties(TPersistent* Instance);

    void WriteInteger(std::int64_t Value);
    void WriteString(const std::string& Value);
    void WriteBoolean(bool Value);
    void WriteIdent(const std::string& Value);
    void WriteListBegin();
    void WriteListEnd();

    void DefineProperty(const std::string& Name, const std::function<void(TReader&)>& ReadData,
                        const std::function<void(TWriter&)>& WriteData, bool HasData) override;
    void DefineBinaryProperty(const std::string& Name, const std::function<void(rtl::TStream&)>& ReadData,
                              const std::function<void(rtl::TStream&)>& WriteData, bool HasData) override;

private:
    using TDefinedValues = std::map<std::string, std::string>;

    // Ancestor: the same object in the ancestor form, or null to compare with the defaults;
    // AncestorDefined: its defined properties, taken before Instance's are reached.
    void WriteObjectProperties(TPersistent* Instance, TPersistent* Ancestor = nullptr,
                               const TDefinedValues* AncestorDefined = nullptr);
    void WriteProperty(TPersistent* Instance, const TPropInfo& Prop, TPersistent* Ancestor);
    void WriteCollection(const std::string& Name, TCollection* Collection);
    // The value bytes each defined property of an object would be written with, by name.
    TDefinedValues DefinedValues(TPersistent* Instance);
    // The bytes a value written by Write comes to.
    std::string ValueBytes(const std::function<void(TWriter&)>& Write);

    rtl::TBinaryObjectWriter FWriter;
    rtl::TStream& FStream;
    std::string FPropPath; // "Font." while a sub-object's properties are written
    TComponent* FRootAncestor = nullptr;
    const TDefinedValues* FAncestorDefined = nullptr; // of the object whose properties are written
    TDefinedValues* FCapture = nullptr;              // collects instead of writing
};

// A string list stored as the class library stores one: "<Name>.Strings", a list of strings;
// nothing is written for an empty list. For DefineProperties.
void DefineStrings(TFiler* Filer, const std::string& Name, rtl::TStrings& Strings);

// The whole round trip in one call each.
void WriteComponentToStream(TComponent* Component, rtl::TStream& Stream);
void WriteDescendentToStream(TComponent* Component, TComponent* Ancestor, rtl::TStream& Stream);
TComponent* ReadComponentFromStream(rtl::TStream& Stream, TComponent* Root);

// Reads the form resources (RCDATA named after a class, bare "TPF0" streams) of Root's classes
// from Root's module into Root, the farthest ancestor's first, so that an inherited form lists
// only what differs from its ancestor's; false when the module has none. A form calls it once
// its constructors have run, before its OnCreate.
bool InitInheritedComponent(TComponent* Root, const void* Caller = RTL_CALLER_MODULE);
// The names of the form resources (bare "TPF0" streams) of the calling module.
std::vector<std::string> FormResourceNames(const void* Caller = RTL_CALLER_MODULE);

} // namespace vcl
