// Components written to and read from the binary object format.
#include "vcl/Streaming.h"

#include "vcl/Graphics.h"

#include "rtl/FormFiles.h"
#include "rtl/Streams.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using namespace vcl;

enum class TShape { stCircle, stSquare, stTriangle };

// A component with a property of each kind, a defined and a binary property, an obsolete one
// that is read and dropped, and children that are the components it was read under.
class TStreamWidget : public TComponent {
public:
    explicit TStreamWidget(TComponent* AOwner) : TComponent(AOwner) {}

    int Count() const { return FCount; }
    void SetCount(int Value) { FCount = Value; }
    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& Value) { FCaption = Value; }
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value) { FEnabled = Value; }
    TShape Shape() const { return FShape; }
    void SetShape(TShape Value) { FShape = Value; }
    char Mark() const { return FMark; }
    void SetMark(char Value) { FMark = Value; }
    unsigned Options() const { return FOptions; }
    void SetOptions(unsigned Value) { FOptions = Value; }
    TFont* Font() const { return FFont.get(); }
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool Value) { FParentFont = Value; }

    std::string Secret;
    std::string Blob;
    TComponent* Parent = nullptr;
    std::vector<std::string> LoadedLog; // on the root: who ran Loaded and whether still loading
    bool ReadingSeen = false;

    void GetChildren(const std::function<void(TComponent*)>& Proc) const override {
        TComponent* root = Owner() ? Owner() : const_cast<TStreamWidget*>(this);
        for (int i = 0; i < root->ComponentCount(); ++i) {
            auto* w = dynamic_cast<TStreamWidget*>(root->Components(i));
            if (w && w->Parent == this) Proc(w);
        }
    }
    void SetParentComponent(TComponent* Value) override {
        Parent = Value;
        ReadingSeen = ComponentState() & csReading;
    }
    void Loaded() override {
        auto* root = dynamic_cast<TStreamWidget*>(Owner() ? Owner() : this);
        root->LoadedLog.push_back(Name() + (IsLoading() ? " loading" : " done"));
        TComponent::Loaded();
    }

protected:
    void DefineProperties(TFiler* Filer) override {
        Filer->DefineProperty(
            "Secret", [this](TReader& r) { Secret = r.ReadString(); },
            [this](TWriter& w) { w.WriteString(Secret); }, !Secret.empty());
        Filer->DefineBinaryProperty(
            "Blob",
            [this](rtl::TStream& s) {
                Blob.assign(static_cast<std::size_t>(s.Size()), '\0');
                s.Read(Blob.data(), s.Size());
            },
            [this](rtl::TStream& s) { s.Write(Blob.data(), static_cast<std::int64_t>(Blob.size())); },
            !Blob.empty());
        Filer->DefineProperty("Margin", [](TReader& r) { r.ReadInteger(); }, nullptr, false);
    }

private:
    int FCount = 0;
    std::string FCaption;
    bool FEnabled = true;
    TShape FShape = TShape::stCircle;
    char FMark = '*';
    unsigned FOptions = 1 | 4;
    std::unique_ptr<TFont> FFont = std::make_unique<TFont>();
    bool FParentFont = true;
};

// Inherits the widget's properties and adds one.
class TStreamPanel : public TStreamWidget {
public:
    explicit TStreamPanel(TComponent* AOwner) : TStreamWidget(AOwner) {}
    int Depth() const { return FDepth; }
    void SetDepth(int Value) { FDepth = Value; }

private:
    int FDepth = 3;
};

void RegisterTestClasses() {
    RegisterClass<TStreamWidget>("TStreamWidget", "", {
        IntegerProperty<TStreamWidget>("Count", &TStreamWidget::Count, &TStreamWidget::SetCount)
            .WithDefault(0),
        StringProperty<TStreamWidget>("Caption", &TStreamWidget::Caption, &TStreamWidget::SetCaption),
        BooleanProperty<TStreamWidget>("Enabled", &TStreamWidget::Enabled, &TStreamWidget::SetEnabled)
            .WithDefault(1),
        EnumProperty<TStreamWidget>("Shape", &TStreamWidget::Shape, &TStreamWidget::SetShape,
                                    {"stCircle", "stSquare", "stTriangle"}).WithDefault(0),
        CharProperty<TStreamWidget>("Mark", &TStreamWidget::Mark, &TStreamWidget::SetMark).WithDefault('*'),
        SetProperty<TStreamWidget>("Options", &TStreamWidget::Options, &TStreamWidget::SetOptions,
                                   {"opOne", "opTwo", "opThree"}).WithDefault(1 | 4),
        ClassProperty<TStreamWidget>("Font", &TStreamWidget::Font).StoredWhen([](TPersistent* p) {
            return !static_cast<TStreamWidget*>(p)->ParentFont();
        }),
        BooleanProperty<TStreamWidget>("ParentFont", &TStreamWidget::ParentFont,
                                       &TStreamWidget::SetParentFont).WithDefault(1),
    });
    RegisterClass<TStreamPanel>("TStreamPanel", "TStreamWidget", {
        IntegerProperty<TStreamPanel>("Depth", &TStreamPanel::Depth, &TStreamPanel::SetDepth).WithDefault(3),
    });
}

class Streaming : public ::testing::Test {
protected:
    void SetUp() override { RegisterTestClasses(); }

    static std::string Bytes(rtl::TMemoryStream& s) {
        std::string out(static_cast<std::size_t>(s.Size()), '\0');
        s.SetPosition(0);
        s.Read(out.data(), s.Size());
        return out;
    }
    static void Load(rtl::TMemoryStream& s, const std::string& bytes) {
        s.SetSize(0);
        s.Write(bytes.data(), static_cast<std::int64_t>(bytes.size()));
        s.SetPosition(0);
    }
    static std::string ToText(const std::string& binary) {
        rtl::TMemoryStream in, out;
        Load(in, binary);
        rtl::ObjectBinaryToText(in, out);
        return Bytes(out);
    }
    static std::string ToBinary(const std::string& text) {
        rtl::TMemoryStream in, out;
        Load(in, text);
        rtl::ObjectTextToBinary(in, out);
        return Bytes(out);
    }
    static std::string Write(TComponent* c) {
        rtl::TMemoryStream s;
        WriteComponentToStream(c, s);
        return Bytes(s);
    }
    static std::unique_ptr<TComponent> Read(const std::string& binary) {
        rtl::TMemoryStream s;
        Load(s, binary);
        return std::unique_ptr<TComponent>(ReadComponentFromStream(s, nullptr));
    }

    // A panel with every property off its default, a defined and a binary property, and
    // children two levels deep.
    static std::unique_ptr<TStreamPanel> Sample() {
        auto root = std::make_unique<TStreamPanel>(nullptr);
        root->SetName("Panel1");
        root->SetCount(-70000);
        root->SetCaption("It's");
        root->SetEnabled(false);
        root->SetShape(TShape::stTriangle);
        root->SetMark('\xE9');
        root->SetOptions(2);
        root->SetParentFont(false);
        root->Font()->SetName("Arial");
        root->Font()->SetColor(0x123456);
        root->Font()->SetStyle(fsBold | fsStrikeOut);
        root->SetDepth(9);
        root->Secret = "hidden";
        root->Blob = std::string("\x01\x00\xFF", 3);
        auto* a = new TStreamWidget(root.get());
        a->SetName("Child1");
        a->Parent = root.get();
        a->SetCount(5);
        a->SetParentFont(false);
        a->Font()->SetColor(clBtnFace);
        auto* b = new TStreamPanel(root.get());
        b->SetName("Inner");
        b->Parent = a;
        auto* c = new TStreamWidget(root.get());
        c->SetName("Child2");
        c->Parent = root.get();
        return root;
    }
};

TEST_F(Streaming, TextFormShowsStoredPropertiesDefinedDataAndChildren) {
    auto root = Sample();
    EXPECT_EQ(ToText(Write(root.get())),
              "object Panel1: TStreamPanel\r\n"
              "  Count = -70000\r\n"
              "  Caption = 'It''s'\r\n"
              "  Enabled = False\r\n"
              "  Shape = stTriangle\r\n"
              "  Mark = '\xE9'\r\n"
              "  Options = [opTwo]\r\n"
              "  Font.Color = 1193046\r\n"
              "  Font.Height = -11\r\n"
              "  Font.Name = 'Arial'\r\n"
              "  Font.Style = [fsBold, fsStrikeOut]\r\n"
              "  ParentFont = False\r\n"
              "  Depth = 9\r\n"
              "  Secret = 'hidden'\r\n"
              "  Blob = {\r\n"
              "    0100FF}\r\n"
              "  object Child1: TStreamWidget\r\n"
              "    Count = 5\r\n"
              "    Font.Color = clBtnFace\r\n"
              "    Font.Height = -11\r\n"
              "    Font.Name = 'MS Sans Serif'\r\n"
              "    Font.Style = []\r\n"
              "    ParentFont = False\r\n"
              "    object Inner: TStreamPanel\r\n"
              "    end\r\n"
              "  end\r\n"
              "  object Child2: TStreamWidget\r\n"
              "  end\r\n"
              "end\r\n");
}

TEST_F(Streaming, DefaultsAndUnstoredPropertiesAreLeftOut) {
    TStreamPanel plain(nullptr);
    EXPECT_EQ(ToText(Write(&plain)), "object TStreamPanel\r\nend\r\n");
    // The font is not stored while the parent's is used, however it was changed.
    plain.Font()->SetName("Courier New");
    plain.SetOptions(0);
    EXPECT_EQ(ToText(Write(&plain)), "object TStreamPanel\r\n  Options = []\r\nend\r\n");
}

TEST_F(Streaming, RoundTripGivesBackEveryValueAndRunsLoadedAfterReading) {
    auto original = Sample();
    std::string binary = Write(original.get());
    auto read = Read(binary);
    auto* root = dynamic_cast<TStreamPanel*>(read.get());
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->Name(), "Panel1");
    EXPECT_EQ(root->Count(), -70000);
    EXPECT_EQ(root->Caption(), "It's");
    EXPECT_FALSE(root->Enabled());
    EXPECT_EQ(root->Shape(), TShape::stTriangle);
    EXPECT_EQ(root->Mark(), '\xE9');
    EXPECT_EQ(root->Options(), 2u);
    EXPECT_FALSE(root->ParentFont());
    EXPECT_EQ(root->Font()->Name(), "Arial");
    EXPECT_EQ(root->Font()->Style(), unsigned(fsBold | fsStrikeOut));
    EXPECT_EQ(root->Depth(), 9);
    EXPECT_EQ(root->Secret, "hidden");
    EXPECT_EQ(root->Blob, std::string("\x01\x00\xFF", 3));

    ASSERT_EQ(root->ComponentCount(), 3);
    auto* child1 = dynamic_cast<TStreamWidget*>(root->FindComponent("Child1"));
    auto* inner = dynamic_cast<TStreamPanel*>(root->FindComponent("Inner"));
    ASSERT_TRUE(child1 && inner);
    EXPECT_EQ(child1->Parent, root);
    EXPECT_EQ(inner->Parent, child1);
    EXPECT_EQ(child1->Count(), 5);
    EXPECT_EQ(child1->Font()->Color(), clBtnFace);
    EXPECT_EQ(root->Font()->Color(), 0x123456);
    EXPECT_TRUE(inner->ReadingSeen);
    EXPECT_EQ(root->LoadedLog, (std::vector<std::string>{"Panel1 loading", "Child1 loading",
                                                         "Inner loading", "Child2 loading"}));
    for (int i = 0; i < root->ComponentCount(); ++i)
        EXPECT_EQ(root->Components(i)->ComponentState() & (csLoading | csReading), 0u);

    // Written again, the copy gives the same bytes.
    EXPECT_EQ(Write(root), binary);
}

TEST_F(Streaming, ReadingIntoAGivenRootUpdatesComponentsItAlreadyHas) {
    TStreamWidget root(nullptr);
    auto* existing = new TStreamWidget(&root);
    existing->SetName("Child1");
    rtl::TMemoryStream s;
    Load(s, ToBinary("object Form1: TStreamWidget\n  Count = 2\n"
                     "  inherited Child1: TStreamWidget\n    Caption = 'kept'\n  end\n"
                     "  object Child2: TStreamWidget\n  end\nend\n"));
    EXPECT_EQ(ReadComponentFromStream(s, &root), &root);
    EXPECT_EQ(root.Name(), "Form1");
    EXPECT_EQ(root.Count(), 2);
    ASSERT_EQ(root.ComponentCount(), 2);
    EXPECT_EQ(root.Components(0), existing);
    EXPECT_EQ(existing->Caption(), "kept");
    EXPECT_EQ(existing->Parent, &root);
    EXPECT_EQ(root.Components(1)->Name(), "Child2");

    // A child not marked inherited is a new one and may not take a name in use.
    Load(s, ToBinary("object Form1: TStreamWidget\n  object Child1: TStreamWidget\n  end\nend\n"));
    EXPECT_THROW(ReadComponentFromStream(s, &root), EComponentError);
    EXPECT_EQ(root.ComponentCount(), 2);
}

TEST_F(Streaming, ObsoletePropertyIsReadAndDropped) {
    auto read = Read(ToBinary("object TStreamWidget\n  Margin = 4\n  Count = 1\nend\n"));
    auto* w = dynamic_cast<TStreamWidget*>(read.get());
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->Count(), 1);
    EXPECT_EQ(ToText(Write(w)), "object TStreamWidget\r\n  Count = 1\r\nend\r\n");
}

TEST_F(Streaming, BadPropertiesAndClassesAreReportedAndWhatWasMadeIsFreed) {
    struct Case {
        const char* body;
        const char* message;
        bool classError;
    } cases[] = {
        {"  Bogus = 1\n", "Property Bogus does not exist", false},
        {"  Font.Bogus = 1\n", "Property Font.Bogus does not exist", false},
        {"  Nothing.Count = 1\n", "Property Nothing.Count does not exist", false},
        {"  Count = 'x'\n", "Invalid property value", false},
        {"  Caption = 12\n", "Invalid property value", false},
        {"  Enabled = stCircle\n", "Invalid property value", false},
        {"  Shape = stOval\n", "Invalid property value", false},
        {"  Options = [opFour]\n", "Invalid property value", false},
        {"  Mark = 'ab'\n", "Invalid property value", false},
        {"  Font.Color = clNoSuchColour\n", "Invalid property value", false},
        {"  Font = 3\n", "Invalid property value", false},
        {"  Secret = 3\n", "Invalid property value", false},
        {"  Blob = 'text'\n", "Invalid property value", false},
        {"  object X: TNoSuchClass\n  end\n", "Class TNoSuchClass not found", true},
        {"  inherited X: TStreamWidget\n  end\n", "Ancestor for 'X' not found", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.body);
        // Components read before the failure go again; the given root keeps what it had.
        std::string text = std::string("object Form1: TStreamWidget\n  object A: TStreamWidget\n  end\n") +
                           "  object B: TStreamWidget\n  " + c.body + "  end\nend\n";
        TStreamWidget root(nullptr);
        auto* own = new TStreamWidget(&root);
        own->SetName("Own");
        rtl::TMemoryStream s;
        Load(s, ToBinary(text));
        try {
            ReadComponentFromStream(s, &root);
            ADD_FAILURE() << "no error";
        } catch (const EClassNotFound& e) {
            EXPECT_TRUE(c.classError);
            EXPECT_STREQ(e.what(), c.message);
        } catch (const rtl::EReadError& e) {
            EXPECT_FALSE(c.classError);
            EXPECT_STREQ(e.what(), c.message);
        }
        ASSERT_EQ(root.ComponentCount(), 1);
        EXPECT_EQ(root.Components(0), own);
        EXPECT_FALSE(root.ComponentState() & (csLoading | csReading));
    }
    // A root made from an unknown class.
    try {
        Read(ToBinary("object X: TNoSuchClass\nend\n"));
        ADD_FAILURE() << "no error";
    } catch (const EClassNotFound& e) {
        EXPECT_STREQ(e.what(), "Class TNoSuchClass not found");
    }
}

TEST_F(Streaming, TruncatedOrCorruptStreamsRaiseReadErrors) {
    std::string good = Write(Sample().get());
    for (std::size_t n = 0; n < good.size(); ++n) {
        SCOPED_TRACE(n);
        EXPECT_THROW(Read(good.substr(0, n)), rtl::EReadError);
    }
    // An unknown value type where a property's value starts.
    std::string text = ToBinary("object TStreamWidget\n  Count = 1\nend\n");
    std::size_t at = text.find("Count") + 5;
    ASSERT_EQ(text[at], char(rtl::vaInt8));
    text[at] = char(0x7F);
    EXPECT_THROW(Read(text), rtl::EReadError);
    EXPECT_THROW(Read("XPF0"), rtl::EReadError);

    // Children nested far deeper than any form.
    rtl::TMemoryStream deep;
    rtl::TBinaryObjectWriter w(deep);
    w.WriteSignature();
    for (int i = 0; i < 1000; ++i) {
        w.WriteObjectHeader(0, 0, "TStreamWidget", "");
        w.WriteListEnd();
    }
    for (int i = 0; i < 1000; ++i) w.WriteListEnd();
    try {
        Read(Bytes(deep));
        ADD_FAILURE() << "no error";
    } catch (const rtl::EReadError& e) {
        EXPECT_NE(std::string(e.what()).find("nested too deeply"), std::string::npos) << e.what();
    }
}

TEST_F(Streaming, RegistryKnowsInheritedPropertiesAndRefusesATakenName) {
    EXPECT_NE(GetPropInfo("TStreamPanel", "caption"), nullptr);
    EXPECT_NE(GetPropInfo("TStreamPanel", "Depth"), nullptr);
    EXPECT_EQ(GetPropInfo("TStreamWidget", "Depth"), nullptr);
    EXPECT_EQ(GetClass("TNoSuchClass"), nullptr);
    EXPECT_EQ(FindClass("tstreampanel").Name, "TStreamPanel");
    EXPECT_THROW(FindClass("TNoSuchClass"), EClassNotFound);
    EXPECT_THROW(RegisterClass<TStreamPanel>("TStreamWidget", ""), EFilerError);
}

} // namespace
