// The class registry and the reader and writer of stored components.
#include "vcl/Streaming.h"

#include "vcl/Graphics.h"
#include "vcl/TestHooks.h"

#include "rtl/CodePages.h"
#include "rtl/FormFiles.h"
#include "rtl/Resources.h"
#include "rtl/ScopeGuards.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <map>
#include <memory>
#include <utility>

namespace vcl {

namespace {

constexpr int MaxNesting = 200;

std::string Upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

bool SameName(const std::string& a, const std::string& b) { return Upper(a) == Upper(b); }

std::map<std::string, TClassInfo>& Registry() {
    static std::map<std::string, TClassInfo> classes;
    return classes;
}

} // namespace

void RegisterClassInfo(TClassInfo Info) {
    auto& classes = Registry();
    std::string key = Upper(Info.Name);
    auto it = classes.find(key);
    if (it != classes.end()) {
        if (it->second.Type == Info.Type) return;
        throw EFilerError("A class named " + Info.Name + " already exists");
    }
    classes.emplace(std::move(key), std::move(Info));
}

const TClassInfo* GetClass(const std::string& ClassName) {
    auto& classes = Registry();
    auto it = classes.find(Upper(ClassName));
    return it == classes.end() ? nullptr : &it->second;
}

const TClassInfo& FindClass(const std::string& ClassName) {
    const TClassInfo* info = GetClass(ClassName);
    if (!info) throw EClassNotFound("Class " + ClassName + " not found");
    return *info;
}

namespace {

// A class and its parents, the class first; a parent chain that loops back is cut where it
// repeats.
std::vector<const TClassInfo*> ClassChain(const std::string& ClassName) {
    std::vector<const TClassInfo*> chain;
    for (const TClassInfo* info = GetClass(ClassName); info; info = GetClass(info->Parent)) {
        if (std::find(chain.begin(), chain.end(), info) != chain.end()) break;
        chain.push_back(info);
        if (info->Parent.empty()) break;
    }
    return chain;
}

} // namespace

namespace {

// The registered classes Root is one of, its farthest ancestor first, and its own class last
// even when it is not registered.
std::vector<std::string> ClassesOf(const TPersistent* Root) {
    std::vector<std::pair<std::size_t, std::string>> found;
    for (const auto& [key, info] : Registry())
        if (info.IsInstance && info.IsInstance(Root)) found.emplace_back(ClassChain(info.Name).size(), info.Name);
    std::stable_sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::string> names;
    for (auto& f : found) names.push_back(std::move(f.second));
    const std::string own = Root->ClassName();
    if (std::none_of(names.begin(), names.end(), [&](const std::string& n) { return SameName(n, own); }))
        names.push_back(own);
    return names;
}

// The registered class whose properties an object is stored with and whose published fields and
// handlers a root's stream binds: its own, or for a class made in code only, the nearest
// registered one it descends from.
std::string RegisteredClassOf(const TPersistent* Root) {
    const std::string own = Root->ClassName();
    if (GetClass(own)) return own;
    std::vector<std::string> classes = ClassesOf(Root);
    return classes.size() > 1 ? classes[classes.size() - 2] : own;
}

} // namespace

const TMethodInfo* FindMethod(const std::string& ClassName, const std::string& MethodName) {
    for (const TClassInfo* info : ClassChain(ClassName))
        for (const TMethodInfo& m : info->Methods)
            if (SameName(m.Name, MethodName)) return &m;
    return nullptr;
}

const TFieldInfo* FindField(const std::string& ClassName, const std::string& FieldName) {
    for (const TClassInfo* info : ClassChain(ClassName))
        for (const TFieldInfo& f : info->Fields)
            if (SameName(f.Name, FieldName)) return &f;
    return nullptr;
}

std::vector<const TPropInfo*> GetPropList(const std::string& ClassName) {
    std::vector<const TClassInfo*> chain = ClassChain(ClassName);
    std::vector<const TPropInfo*> props;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it)
        for (const TPropInfo& p : (*it)->Properties) {
            // A descendant that registers a name again replaces the parent's entry.
            auto same = std::find_if(props.begin(), props.end(),
                                     [&](const TPropInfo* q) { return SameName(q->Name, p.Name); });
            if (same != props.end()) *same = &p;
            else props.push_back(&p);
        }
    return props;
}

const TPropInfo* GetPropInfo(const std::string& ClassName, const std::string& PropName) {
    for (const TPropInfo* p : GetPropList(ClassName))
        if (SameName(p->Name, PropName)) return p;
    return nullptr;
}

namespace {

// The class library's own persistent classes that forms store as sub-objects.
struct StandardClasses {
    StandardClasses() {
        RegisterClass<TFont>("TFont", "", {
            ColorProperty<TFont>("Color", &TFont::Color, &TFont::SetColor),
            IntegerProperty<TFont>("Height", &TFont::Height, &TFont::SetHeight),
            StringProperty<TFont>("Name", &TFont::Name, &TFont::SetName),
            EnumProperty<TFont>("Pitch", &TFont::Pitch, &TFont::SetPitch,
                                {"fpDefault", "fpVariable", "fpFixed"}).WithDefault(0),
            SetProperty<TFont>("Style", &TFont::Style, &TFont::SetStyle,
                               {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"}),
        });
    }
} standardClasses;

} // namespace

namespace {

struct ColorName {
    TColor Color;
    const char* Name;
};
// Where two names share a value the first is the one written.
constexpr ColorName ColorNames[] = {
    {clBlack, "clBlack"}, {clMaroon, "clMaroon"}, {clGreen, "clGreen"}, {clOlive, "clOlive"},
    {clNavy, "clNavy"}, {clPurple, "clPurple"}, {clTeal, "clTeal"}, {clGray, "clGray"},
    {clSilver, "clSilver"}, {clRed, "clRed"}, {clLime, "clLime"}, {clYellow, "clYellow"},
    {clBlue, "clBlue"}, {clFuchsia, "clFuchsia"}, {clAqua, "clAqua"}, {clWhite, "clWhite"},
    {clLtGray, "clLtGray"}, {clDkGray, "clDkGray"},
    {clScrollBar, "clScrollBar"}, {clBackground, "clBackground"},
    {clActiveCaption, "clActiveCaption"}, {clInactiveCaption, "clInactiveCaption"},
    {clMenu, "clMenu"}, {clWindow, "clWindow"}, {clWindowFrame, "clWindowFrame"},
    {clMenuText, "clMenuText"}, {clWindowText, "clWindowText"}, {clCaptionText, "clCaptionText"},
    {clActiveBorder, "clActiveBorder"}, {clInactiveBorder, "clInactiveBorder"},
    {clAppWorkSpace, "clAppWorkSpace"}, {clHighlight, "clHighlight"},
    {clHighlightText, "clHighlightText"}, {clBtnFace, "clBtnFace"}, {clBtnShadow, "clBtnShadow"},
    {clGrayText, "clGrayText"}, {clBtnText, "clBtnText"},
    {clInactiveCaptionText, "clInactiveCaptionText"}, {clBtnHighlight, "clBtnHighlight"},
    {cl3DDkShadow, "cl3DDkShadow"}, {cl3DLight, "cl3DLight"}, {clInfoText, "clInfoText"},
    {clInfoBk, "clInfoBk"}, {clNone, "clNone"},
};

} // namespace

bool ColorToIdent(std::int64_t Color, std::string& Ident) {
    for (const ColorName& c : ColorNames)
        if (c.Color == Color) {
            Ident = c.Name;
            return true;
        }
    return false;
}

bool IdentToColor(const std::string& Ident, std::int64_t& Color) {
    for (const ColorName& c : ColorNames)
        if (SameName(Ident, c.Name)) {
            Color = c.Color;
            return true;
        }
    return false;
}

// ---------------------------------------------------------------------------------------------
// Reading

namespace {
// The class of a root a reader is making, which must not read its resource itself.
thread_local const std::type_index* tlsReadingRootType = nullptr;
// The next form read from its resource is read as a designer reads it: its events do not run.
thread_local bool tlsDesignNextForm = false;
} // namespace

namespace {

std::string NameOf(const TComponent* Component) {
    if (!Component) return "(none)";
    return Component->Name().empty() ? Component->ClassName() : Component->Name();
}

} // namespace

TReader::TReader(rtl::TStream& Stream) : FReader(Stream), FStream(Stream) {}

void TReader::InvalidValue() { throw rtl::EReadError("Invalid property value"); }

rtl::TValueType TReader::NextValue() { return FReader.NextValue(); }

std::int64_t TReader::ReadInteger() {
    rtl::TValueType t = FReader.ReadValue();
    if (t != rtl::vaInt8 && t != rtl::vaInt16 && t != rtl::vaInt32 && t != rtl::vaInt64) InvalidValue();
    return FReader.ReadInteger(t);
}

std::string TReader::ReadString() {
    rtl::TValueType t = FReader.ReadValue();
    switch (t) {
    case rtl::vaString:
    case rtl::vaLString: return FReader.ReadString(t);
    case rtl::vaUTF8String: return rtl::Utf8ToAnsi(FReader.ReadString(t));
    case rtl::vaWString:
    case rtl::vaUString: {
        std::u16string wide = FReader.ReadWideString(t);
        std::string s;
        s.reserve(wide.size());
        for (char16_t u : wide) s += rtl::UnicodeToAnsi(u);
        return s;
    }
    default: InvalidValue();
    }
}

bool TReader::ReadBoolean() {
    rtl::TValueType t = FReader.ReadValue();
    if (t == rtl::vaTrue) return true;
    if (t == rtl::vaFalse) return false;
    InvalidValue();
}

std::string TReader::ReadIdent() {
    rtl::TValueType t = FReader.ReadValue();
    switch (t) {
    case rtl::vaIdent: return FReader.ReadString(t);
    case rtl::vaFalse: return "False";
    case rtl::vaTrue: return "True";
    case rtl::vaNil: return "nil";
    default: InvalidValue();
    }
}

void TReader::ReadListBegin() {
    if (FReader.ReadValue() != rtl::vaList) InvalidValue();
}

bool TReader::EndOfList() { return FReader.EndOfList(); }

void TReader::ReadListEnd() { FReader.ReadListEnd(); }

void TReader::DefineProperty(const std::string& Name, const std::function<void(TReader&)>& ReadData,
                             const std::function<void(TWriter&)>&, bool) {
    if (FPropRead || !ReadData || !SameName(Name, FPropName)) return;
    FPropRead = true;
    ReadData(*this);
}

void TReader::DefineBinaryProperty(const std::string& Name, const std::function<void(rtl::TStream&)>& ReadData,
                                   const std::function<void(rtl::TStream&)>&, bool) {
    if (FPropRead || !ReadData || !SameName(Name, FPropName)) return;
    FPropRead = true;
    if (FReader.ReadValue() != rtl::vaBinary) InvalidValue();
    rtl::TMemoryStream data;
    std::string bytes = FReader.ReadBinary();
    data.Write(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    data.SetPosition(0);
    ReadData(data);
}

void TReader::ReadPropValue(TPersistent* Instance, const TPropInfo& Prop) {
    switch (Prop.Kind) {
    case TPropKind::Integer: {
        if (FReader.NextValue() == rtl::vaIdent) {
            std::string ident = ReadIdent();
            std::int64_t v = 0;
            if (!Prop.IdentToInt || !Prop.IdentToInt(ident, v)) InvalidValue();
            Prop.SetOrd(Instance, v);
        } else {
            Prop.SetOrd(Instance, ReadInteger());
        }
        break;
    }
    case TPropKind::Char: {
        std::string c = ReadString();
        if (c.size() != 1) InvalidValue();
        Prop.SetOrd(Instance, static_cast<unsigned char>(c[0]));
        break;
    }
    case TPropKind::Boolean: Prop.SetOrd(Instance, ReadBoolean() ? 1 : 0); break;
    case TPropKind::Enumeration: {
        std::string ident = ReadIdent();
        auto it = std::find_if(Prop.Names.begin(), Prop.Names.end(),
                               [&](const std::string& n) { return SameName(n, ident); });
        if (it == Prop.Names.end()) InvalidValue();
        Prop.SetOrd(Instance, it - Prop.Names.begin());
        break;
    }
    case TPropKind::Set: {
        if (FReader.ReadValue() != rtl::vaSet) InvalidValue();
        std::int64_t mask = 0;
        for (const std::string& element : FReader.ReadSet()) {
            auto it = std::find_if(Prop.Names.begin(), Prop.Names.end(),
                                   [&](const std::string& n) { return SameName(n, element); });
            if (it == Prop.Names.end()) InvalidValue();
            mask |= std::int64_t{1} << (it - Prop.Names.begin());
        }
        Prop.SetOrd(Instance, mask);
        break;
    }
    case TPropKind::String: Prop.SetStr(Instance, ReadString()); break;
    case TPropKind::Method: ReadMethod(Instance, Prop); break;
    case TPropKind::Component: {
        if (FReader.NextValue() == rtl::vaNil) {
            FReader.ReadValue();
            Prop.SetComponent(Instance, nullptr);
            break;
        }
        // The component may come later in the stream.
        std::string name = ReadIdent();
        FReferences.push_back({Instance, &Prop, name, NameOf(FCurrent) + "." + Prop.Name});
        break;
    }
    case TPropKind::Class: {
        // Only a collection is stored as the value of its property; other objects by their parts.
        auto* collection = dynamic_cast<TCollection*>(Prop.GetObject(Instance));
        if (!collection || FReader.ReadValue() != rtl::vaCollection) InvalidValue();
        ReadCollection(collection);
        break;
    }
    }
}

void TReader::ReadMethod(TPersistent* Instance, const TPropInfo& Prop) {
    if (FReader.NextValue() == rtl::vaNil) {
        FReader.ReadValue();
        Prop.SetMethod(Instance, std::any());
        return;
    }
    const std::string handler = ReadIdent();
    const std::string event = NameOf(FCurrent) + "." + Prop.Name;
    const std::string form = NameOf(FRoot);
    const TMethodInfo* method = FRoot ? FindMethod(FRootClass, handler) : nullptr;
    if (!method)
        throw EFilerError("Form " + form + " has no handler " + handler + " for " + event);
    if (method->Signature != Prop.Signature)
        throw EFilerError("Handler " + handler + " of form " + form + " does not fit " + event);
    Prop.SetMethod(Instance, method->Bind(FRoot));
}

void TReader::ResolveReferences() {
    std::vector<TReference> references = std::move(FReferences);
    FReferences.clear();
    for (const TReference& r : references) {
        TComponent* found = nullptr;
        if (FRoot) found = SameName(FRoot->Name(), r.Name) ? FRoot : FRoot->FindComponent(r.Name);
        if (!found) throw EFilerError("Form " + NameOf(FRoot) + ": " + r.Where + " names no component " + r.Name);
        if (!r.Prop->SetComponent(r.Instance, found))
            throw EFilerError("Form " + NameOf(FRoot) + ": " + r.Where + " cannot refer to " + r.Name + " of class " +
                              found->ClassName());
    }
}

void TReader::BindField(TComponent* Component) {
    if (!FRoot || Component == FRoot || Component->Name().empty()) return;
    const TFieldInfo* field = FindField(FRootClass, Component->Name());
    if (field && !field->Set(FRoot, Component))
        throw EFilerError("Form " + NameOf(FRoot) + ": component " + Component->Name() + " of class " +
                          Component->ClassName() + " does not fit its field");
}

void TReader::ReadCollection(TCollection* Collection) {
    rtl::TUpdateGuard update(*Collection);
    Collection->Clear();
    while (!FReader.EndOfList()) {
        rtl::TValueType t = FReader.NextValue();
        if (t == rtl::vaInt8 || t == rtl::vaInt16 || t == rtl::vaInt32) ReadInteger(); // the order
        if (FReader.ReadValue() != rtl::vaList) InvalidValue();
        ReadProperties(Collection->Add());
    }
    FReader.ReadListEnd();
}

void TReader::ReadProperty(TPersistent* Instance) {
    const std::string fullName = FReader.ReadStr();
    // "Font.Style": each part before the last names a sub-object property.
    TPersistent* target = Instance;
    std::string name = fullName;
    for (std::size_t dot; target && (dot = name.find('.')) != std::string::npos;) {
        const TPropInfo* sub = GetPropInfo(RegisteredClassOf(target), name.substr(0, dot));
        target = sub && sub->Kind == TPropKind::Class ? sub->GetObject(target) : nullptr;
        name = name.substr(dot + 1);
    }
    if (target) {
        const TPropInfo* prop = GetPropInfo(RegisteredClassOf(target), name);
        if (prop) {
            ReadPropValue(target, *prop);
            return;
        }
        FPropName = name;
        FPropRead = false;
        target->DefineProperties(this);
        FPropName.clear();
        if (FPropRead) return;
    }
    // "Tabs.Strings": a dotted name the instance defines itself.
    if (fullName.find('.') != std::string::npos) {
        FPropName = fullName;
        FPropRead = false;
        Instance->DefineProperties(this);
        FPropName.clear();
        if (FPropRead) return;
    }
    throw rtl::EReadError("Property " + fullName + " does not exist");
}

void TReader::ReadProperties(TPersistent* Instance) {
    while (!FReader.EndOfList()) ReadProperty(Instance);
    FReader.ReadListEnd();
}

void TReader::ReadData(TComponent* Instance) {
    {
        rtl::TScopeExit restore([this, saved = FCurrent] { FCurrent = saved; });
        FCurrent = Instance;
        ReadProperties(Instance);
    }
    while (!FReader.EndOfList()) ReadComponent(Instance);
    FReader.ReadListEnd();
}

void TComponent::ReadState(TReader& Reader) { Reader.ReadData(this); }

TComponent* TReader::ReadComponent(TComponent* Parent) {
    // Each level is a call deeper; a corrupt stream must not run the stack out.
    ++FDepth;
    rtl::TScopeExit level([this] { --FDepth; });
    if (FDepth > MaxNesting)
        throw rtl::EReadError("Invalid stream format: objects nested too deeply at offset " +
                              std::to_string(FStream.Position()));
    int flags = 0;
    std::int64_t childPos = 0;
    std::string className, name;
    FReader.ReadObjectHeader(flags, childPos, className, name);
    TComponent* owner = FRoot;
    // An inherited child is one the root made already; any other is made here.
    TComponent* component = nullptr;
    if (flags & rtl::ffInherited) {
        component = name.empty() ? nullptr : owner->FindComponent(name);
        if (!component) throw rtl::EReadError("Ancestor for '" + name + "' not found");
    } else {
        const TClassInfo& info = FindClass(className);
        if (!info.Create) throw EClassNotFound("Class " + className + " not found");
        component = info.Create(owner);
        FMade.push_back(component);
        if (owner && owner->IsDesigning()) component->SetDesigning(true);
        component->SetName(name);
    }
    BindField(component);
    component->FComponentState |= csReading;
    rtl::TScopeExit read([component] { component->FComponentState &= ~TComponentState(csReading); });
    component->SetParentComponent(Parent);
    component->ReadState(*this);
    return component;
}

TComponent* TReader::ReadRootComponent(TComponent* Root) {
    FReader.ReadSignature();
    std::int64_t start = FStream.Position();
    FMade.clear();
    TComponent* root = Root;
    if (!root) {
        int flags = 0;
        std::int64_t childPos = 0;
        std::string className, name;
        FReader.ReadObjectHeader(flags, childPos, className, name);
        const TClassInfo& info = FindClass(className);
        if (!info.Create) throw EClassNotFound("Class " + className + " not found");
        FStream.SetPosition(start);
        // The stream is the root's layout: the new form does not read its own resource as well.
        rtl::TScopeExit restore([saved = tlsReadingRootType] { tlsReadingRootType = saved; });
        tlsReadingRootType = &info.Type;
        root = info.Create(nullptr);
    }
    rtl::TScopeExit dropRoot([&] {
        if (!Root) delete root;
    });
    {
        TLoadingBracket loading(root);
        FRoot = root;
        FRootClass = RegisteredClassOf(root);
        rtl::TScopeExit done([this] {
            FRoot = nullptr;
            FMade.clear();
        });
        rtl::TScopeExit dropMade([&] {
            FReferences.clear();
            root->FComponentState &= ~TComponentState(csReading);
            // Freed last made first, so that a child goes before the one it was read under.
            for (auto it = FMade.rbegin(); it != FMade.rend(); ++it) delete *it;
        });
        int flags = 0;
        std::int64_t childPos = 0;
        std::string className, name;
        FReader.ReadObjectHeader(flags, childPos, className, name);
        root->FComponentState |= csReading;
        if (!name.empty()) root->SetName(name);
        root->ReadState(*this);
        ResolveReferences();
        root->FComponentState &= ~TComponentState(csReading);
        dropMade.Dismiss();
    }
    dropRoot.Dismiss();
    return root;
}

// ---------------------------------------------------------------------------------------------
// Writing

TWriter::TWriter(rtl::TStream& Stream) : FWriter(Stream), FStream(Stream) {}

void TWriter::WriteInteger(std::int64_t Value) { FWriter.WriteInteger(Value); }
void TWriter::WriteString(const std::string& Value) { FWriter.WriteString(Value); }
void TWriter::WriteBoolean(bool Value) { FWriter.WriteBoolean(Value); }
void TWriter::WriteIdent(const std::string& Value) { FWriter.WriteIdent(Value); }
void TWriter::WriteListBegin() { FWriter.WriteValue(rtl::vaList); }
void TWriter::WriteListEnd() { FWriter.WriteListEnd(); }

std::string TWriter::ValueBytes(const std::function<void(TWriter&)>& Write) {
    rtl::TMemoryStream data;
    TWriter scratch(data);
    scratch.FRoot = FRoot;
    Write(scratch);
    return std::string(static_cast<const char*>(data.Memory()), std::size_t(data.Size()));
}

TWriter::TDefinedValues TWriter::DefinedValues(TPersistent* Instance) {
    rtl::TMemoryStream unused;
    TWriter capture(unused);
    capture.FRoot = FRootAncestor;
    TDefinedValues values;
    capture.FCapture = &values;
    Instance->DefineProperties(&capture);
    return values;
}

void TWriter::DefineProperty(const std::string& Name, const std::function<void(TReader&)>&,
                             const std::function<void(TWriter&)>& WriteData, bool HasData) {
    if (!HasData || !WriteData) return;
    const std::string value = ValueBytes(WriteData);
    if (FCapture) {
        (*FCapture)[Name] = value;
        return;
    }
    if (FAncestorDefined) {
        auto same = FAncestorDefined->find(Name);
        if (same != FAncestorDefined->end() && same->second == value) return;
    }
    FWriter.WriteStr(FPropPath + Name);
    FStream.Write(value.data(), std::int64_t(value.size()));
}

void TWriter::DefineBinaryProperty(const std::string& Name, const std::function<void(rtl::TStream&)>&,
                                   const std::function<void(rtl::TStream&)>& WriteData, bool HasData) {
    if (!HasData || !WriteData) return;
    rtl::TMemoryStream data;
    WriteData(data);
    std::string bytes(static_cast<const char*>(data.Memory()), std::size_t(data.Size()));
    if (FCapture) {
        (*FCapture)[Name] = bytes;
        return;
    }
    if (FAncestorDefined) {
        auto same = FAncestorDefined->find(Name);
        if (same != FAncestorDefined->end() && same->second == bytes) return;
    }
    FWriter.WriteStr(FPropPath + Name);
    FWriter.WriteBinary(bytes.data(), bytes.size());
}

void TWriter::WriteProperty(TPersistent* Instance, const TPropInfo& Prop, TPersistent* Ancestor) {
    if (Prop.StoredProc && !Prop.StoredProc(Instance)) return;
    const std::string name = FPropPath + Prop.Name;
    switch (Prop.Kind) {
    case TPropKind::Integer:
    case TPropKind::Char:
    case TPropKind::Boolean:
    case TPropKind::Enumeration:
    case TPropKind::Set: {
        std::int64_t v = Prop.GetOrd(Instance);
        // Against an ancestor its value counts, not the default: the ancestor's form set it.
        if (Ancestor ? Prop.GetOrd(Ancestor) == v : Prop.DefaultValue && *Prop.DefaultValue == v) return;
        FWriter.WriteStr(name);
        if (Prop.Kind == TPropKind::Boolean) {
            FWriter.WriteBoolean(v != 0);
        } else if (Prop.Kind == TPropKind::Char) {
            FWriter.WriteString(std::string(1, static_cast<char>(v)));
        } else if (Prop.Kind == TPropKind::Enumeration) {
            if (v < 0 || v >= std::int64_t(Prop.Names.size()))
                throw rtl::EWriteError("Invalid value of property " + name);
            FWriter.WriteIdent(Prop.Names[std::size_t(v)]);
        } else if (Prop.Kind == TPropKind::Set) {
            std::vector<std::string> elements;
            for (std::size_t i = 0; i < Prop.Names.size() && i < 64; ++i)
                if (v & (std::int64_t{1} << i)) elements.push_back(Prop.Names[i]);
            FWriter.WriteSet(elements);
        } else {
            std::string ident;
            if (Prop.IntToIdent && Prop.IntToIdent(v, ident)) FWriter.WriteIdent(ident);
            else FWriter.WriteInteger(v);
        }
        break;
    }
    case TPropKind::Component: {
        TComponent* c = Prop.GetComponent(Instance);
        // Only the root and what it owns can be named in its stream.
        if (!c || !FRoot || (c != FRoot && c->Owner() != FRoot) || c->Name().empty()) return;
        if (Ancestor) {
            // The ancestor's root stands for this root.
            TComponent* a = Prop.GetComponent(Ancestor);
            if (a && (a == FRootAncestor ? c == FRoot : a->Name() == c->Name())) return;
        }
        FWriter.WriteStr(name);
        FWriter.WriteIdent(c->Name());
        break;
    }
    case TPropKind::Method: {
        std::string handler = Prop.GetMethodName(Instance);
        if (handler.empty() || (Ancestor && Prop.GetMethodName(Ancestor) == handler)) return;
        FWriter.WriteStr(name);
        FWriter.WriteIdent(handler);
        break;
    }
    case TPropKind::String: {
        std::string s = Prop.GetStr(Instance);
        if (Ancestor ? Prop.GetStr(Ancestor) == s : s.empty()) return;
        FWriter.WriteStr(name);
        FWriter.WriteString(s);
        break;
    }
    case TPropKind::Class: {
        // The ancestor's first: a string list's storage is one object, bound to the list last asked for.
        TPersistent* ancestorSub = Ancestor ? Prop.GetObject(Ancestor) : nullptr;
        TDefinedValues ancestorDefined;
        if (ancestorSub && !dynamic_cast<TComponent*>(ancestorSub) && !dynamic_cast<TCollection*>(ancestorSub))
            ancestorDefined = DefinedValues(ancestorSub);
        TPersistent* sub = Prop.GetObject(Instance);
        // A component is stored by itself, not inside the one that refers to it.
        if (!sub || dynamic_cast<TComponent*>(sub)) return;
        if (auto* collection = dynamic_cast<TCollection*>(sub)) {
            if (auto* same = dynamic_cast<TCollection*>(ancestorSub)) {
                auto items = [this, &name](TCollection* c) { return ValueBytes([&](TWriter& w) { w.WriteCollection(name, c); }); };
                if (items(same) == items(collection)) return;
            }
            WriteCollection(name, collection);
            return;
        }
        rtl::TScopeExit restore([this, saved = FPropPath] { FPropPath = saved; });
        FPropPath = name + ".";
        WriteObjectProperties(sub, ancestorSub, ancestorSub ? &ancestorDefined : nullptr);
        break;
    }
    }
}

void TWriter::WriteCollection(const std::string& Name, TCollection* Collection) {
    FWriter.WriteStr(Name);
    FWriter.WriteValue(rtl::vaCollection);
    // An item's properties go under their own names, not under the collection's.
    {
        rtl::TScopeExit restore([this, saved = FPropPath] { FPropPath = saved; });
        FPropPath.clear();
        for (int i = 0; i < Collection->Count(); ++i) {
            FWriter.WriteValue(rtl::vaList);
            WriteObjectProperties(Collection->Items(i));
            FWriter.WriteListEnd();
        }
    }
    FWriter.WriteListEnd();
}

void TWriter::WriteObjectProperties(TPersistent* Instance, TPersistent* Ancestor,
                                    const TDefinedValues* AncestorDefined) {
    // The events after the values, so that reading sets every value before a handler is bound.
    std::vector<const TPropInfo*> props = GetPropList(RegisteredClassOf(Instance));
    for (const TPropInfo* p : props)
        if (p->Kind != TPropKind::Method) WriteProperty(Instance, *p, Ancestor);
    for (const TPropInfo* p : props)
        if (p->Kind == TPropKind::Method) WriteProperty(Instance, *p, Ancestor);
    rtl::TScopeExit restore([this, saved = FAncestorDefined] { FAncestorDefined = saved; });
    FAncestorDefined = AncestorDefined;
    Instance->DefineProperties(this);
}

void TWriter::WriteProperties(TPersistent* Instance) {
    FPropPath.clear();
    WriteObjectProperties(Instance);
}

void TWriter::WriteComponent(TComponent* Component) {
    // In a descendant, a component its ancestor has too is the ancestor's, changed.
    TComponent* ancestor = nullptr;
    if (FRootAncestor)
        ancestor = Component == FRoot ? FRootAncestor
                   : Component->Name().empty() ? nullptr
                                               : FRootAncestor->FindComponent(Component->Name());
    Component->FComponentState |= csWriting;
    rtl::TScopeExit written([Component] { Component->FComponentState &= ~TComponentState(csWriting); });
    FWriter.WriteObjectHeader(ancestor ? rtl::ffInherited : 0, 0, Component->ClassName(), Component->Name());
    FPropPath.clear();
    if (ancestor) {
        const TDefinedValues defined = DefinedValues(ancestor);
        WriteObjectProperties(Component, ancestor, &defined);
    } else {
        WriteObjectProperties(Component);
    }
    FWriter.WriteListEnd();
    Component->GetChildren([this](TComponent* child) { WriteComponent(child); });
    FWriter.WriteListEnd();
}

void TWriter::WriteRootComponent(TComponent* Root) {
    FRoot = Root;
    FWriter.WriteSignature();
    rtl::TScopeExit done([this] { FRoot = nullptr; });
    WriteComponent(Root);
}

void TWriter::WriteDescendent(TComponent* Root, TComponent* Ancestor) {
    FRootAncestor = Ancestor;
    rtl::TScopeExit done([this] { FRootAncestor = nullptr; });
    WriteRootComponent(Root);
}

TStringsStorage* TStringsStorage::For(rtl::TStrings* Strings) {
    // Not thread-local: one with a destructor would keep a library that streamed a list from
    // ever being unloaded. Forms are streamed on the user-interface thread only.
    static TStringsStorage storage;
    storage.FStrings = Strings;
    return &storage;
}

void TStringsStorage::DefineProperties(TFiler* Filer) {
    rtl::TStrings* strings = FStrings;
    if (!strings) return;
    Filer->DefineProperty(
        "Strings",
        [strings](TReader& Reader) {
            // Read whole before the list changes, so a bad value leaves the lines as they were.
            std::vector<std::string> lines;
            Reader.ReadListBegin();
            while (!Reader.EndOfList()) lines.push_back(Reader.ReadString());
            Reader.ReadListEnd();
            rtl::TUpdateGuard update(*strings);
            strings->Clear();
            for (const std::string& line : lines) strings->Add(line);
        },
        [strings](TWriter& Writer) {
            Writer.WriteListBegin();
            for (int i = 0; i < strings->Count(); ++i) Writer.WriteString(strings->Get(i));
            Writer.WriteListEnd();
        },
        strings->Count() > 0);
}

void DefineStrings(TFiler* Filer, const std::string& Name, rtl::TStrings& Strings) {
    Filer->DefineProperty(
        Name + ".Strings",
        [&Strings](TReader& Reader) {
            rtl::TUpdateGuard update(Strings);
            Strings.Clear();
            Reader.ReadListBegin();
            while (!Reader.EndOfList()) Strings.Add(Reader.ReadString());
            Reader.ReadListEnd();
        },
        [&Strings](TWriter& Writer) {
            Writer.WriteListBegin();
            for (int i = 0; i < Strings.Count(); ++i) Writer.WriteString(Strings.Get(i));
            Writer.WriteListEnd();
        },
        Strings.Count() > 0);
}

void WriteComponentToStream(TComponent* Component, rtl::TStream& Stream) {
    TWriter writer(Stream);
    writer.WriteRootComponent(Component);
}

void WriteDescendentToStream(TComponent* Component, TComponent* Ancestor, rtl::TStream& Stream) {
    TWriter writer(Stream);
    writer.WriteDescendent(Component, Ancestor);
}

TComponent* ReadComponentFromStream(rtl::TStream& Stream, TComponent* Root) {
    TReader reader(Stream);
    return reader.ReadRootComponent(Root);
}

namespace {

bool IsFormStream(rtl::HRSRC Resource) { return Resource->Size >= 4 && std::memcmp(Resource->Data, "TPF0", 4) == 0; }

} // namespace

bool InitInheritedComponent(TComponent* Root, const void* Caller) {
    if (tlsReadingRootType && *tlsReadingRootType == std::type_index(typeid(*Root))) {
        tlsReadingRootType = nullptr;
        return false;
    }
    const bool design = std::exchange(tlsDesignNextForm, false);
    std::vector<rtl::HRSRC> resources;
    for (const std::string& name : ClassesOf(Root)) {
        rtl::HRSRC resource = rtl::FindResource(nullptr, Upper(name), rtl::RT_RCDATA, Caller);
        if (resource && IsFormStream(resource)) resources.push_back(resource);
    }
    if (resources.empty()) return false;
    if (design) Root->SetDesigning(true);
    for (rtl::HRSRC resource : resources) {
        rtl::TMemoryStream stream;
        stream.Write(resource->Data, static_cast<std::int64_t>(resource->Size));
        stream.SetPosition(0);
        TReader reader(stream);
        reader.ReadRootComponent(Root);
    }
    return true;
}

std::vector<std::string> FormResourceNames(const void* Caller) {
    std::vector<std::string> names;
    for (rtl::HRSRC r : rtl::EnumResources(nullptr, rtl::RT_RCDATA, Caller))
        if (r->Name && IsFormStream(r)) names.push_back(r->Name);
    return names;
}

namespace {

std::string AsText(rtl::TStream& Binary) {
    rtl::TMemoryStream text;
    Binary.SetPosition(0);
    rtl::ObjectBinaryToText(Binary, text);
    return std::string(static_cast<const char*>(text.Memory()), std::size_t(text.Size()));
}

// As a designer makes it: what its OnCreate sets at run time is not the form file's.
TComponent* MakeDesigned(const TClassInfo& Info) {
    tlsDesignNextForm = true;
    rtl::TScopeExit designed([] { tlsDesignNextForm = false; });
    return Info.Create(nullptr);
}

bool IsInheritedStream(rtl::TStream& Binary) {
    Binary.SetPosition(0);
    rtl::TBinaryObjectReader reader(Binary);
    reader.ReadSignature();
    int flags = 0;
    std::int64_t childPos = 0;
    reader.ReadPrefix(flags, childPos);
    return (flags & rtl::ffInherited) != 0;
}

std::string FirstDifference(const std::string& Want, const std::string& Have) {
    std::size_t at = 0;
    while (at < Want.size() && at < Have.size() && Want[at] == Have[at]) ++at;
    auto lineAt = [at](const std::string& s) {
        std::size_t begin = s.rfind('\n', at ? at - 1 : 0);
        begin = begin == std::string::npos || at == 0 ? 0 : begin + 1;
        std::size_t end = s.find_first_of("\r\n", at);
        return s.substr(begin, end == std::string::npos ? std::string::npos : end - begin);
    };
    return "form file has \"" + lineAt(Want) + "\", the form writes \"" + lineAt(Have) + "\"";
}

} // namespace

std::vector<std::string> FormResourceMismatches(const void* Caller) {
    std::vector<std::string> problems;
    for (const std::string& name : FormResourceNames(Caller)) {
        try {
            rtl::HRSRC resource = rtl::FindResource(nullptr, name, rtl::RT_RCDATA, Caller);
            rtl::TMemoryStream stored;
            stored.Write(resource->Data, static_cast<std::int64_t>(resource->Size));
            const std::string want = AsText(stored);
            const TClassInfo* info = GetClass(name);
            if (!info || !info->Create) {
                problems.push_back(name + ": no form class of that name is registered");
                continue;
            }
            std::unique_ptr<TComponent> form(MakeDesigned(*info));
            // An inherited form file lists what differs from a form of its parent class.
            std::unique_ptr<TComponent> ancestor;
            if (IsInheritedStream(stored)) {
                const TClassInfo* parent = GetClass(info->Parent);
                if (!parent || !parent->Create) {
                    problems.push_back(name + ": an inherited form whose parent class " + info->Parent +
                                       " is not a registered form class");
                    continue;
                }
                ancestor.reset(MakeDesigned(*parent));
            }
            rtl::TMemoryStream written;
            if (ancestor) WriteDescendentToStream(form.get(), ancestor.get(), written);
            else WriteComponentToStream(form.get(), written);
            const std::string have = AsText(written);
            if (have != want) problems.push_back(name + ": " + FirstDifference(want, have));
        } catch (const std::exception& e) {
            problems.push_back(name + ": " + e.what());
        }
    }
    return problems;
}

} // namespace vcl
