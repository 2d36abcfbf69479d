// The published properties every control shares with its base, for the streaming registrations
// of the class library's controls and of the suite's own.
#pragma once

#include "vcl/Controls.h"
#include "vcl/Menus.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Streaming.h"

#include <vector>

namespace vcl {

// A control's pop-up menu, which only a pop-up menu of the form can be.
template <class T>
TPropInfo PopupMenuProperty() {
    TPropInfo info = ComponentProperty<T>("PopupMenu", &T::PopupMenu, &T::SetPopupMenu);
    info.SetComponent = [](TPersistent* o, TComponent* c) {
        if (c && !dynamic_cast<TPopupMenu*>(c)) return false;
        static_cast<T*>(o)->SetPopupMenu(c);
        return true;
    };
    return info;
}

template <class T>
std::vector<TPropInfo> ControlProperties() {
    return {
        IntegerProperty<T>("Left", &T::Left, &T::SetLeft),
        IntegerProperty<T>("Top", &T::Top, &T::SetTop),
        IntegerProperty<T>("Width", &T::Width, &T::SetWidth),
        IntegerProperty<T>("Height", &T::Height, &T::SetHeight),
        StringProperty<T>("Caption", &T::Caption, &T::SetCaption),
        BooleanProperty<T>("Enabled", &T::Enabled, &T::SetEnabled).WithDefault(1),
        BooleanProperty<T>("Visible", &T::Visible, &T::SetVisible).WithDefault(1),
        ColorProperty<T>("Color", &T::Color, &T::SetColor)
            .StoredWhen([](TPersistent* o) { return !static_cast<T*>(o)->ParentColor(); }),
        BooleanProperty<T>("ParentColor", &T::ParentColor, &T::SetParentColor).WithDefault(1),
        BooleanProperty<T>("ParentFont", &T::ParentFont, &T::SetParentFont).WithDefault(1),
        BooleanProperty<T>("ShowHint", &T::ShowHint, &T::SetShowHint)
            .WithDefault(0)
            .StoredWhen([](TPersistent* o) { return !static_cast<T*>(o)->ParentShowHint(); }),
        BooleanProperty<T>("ParentShowHint", &T::ParentShowHint, &T::SetParentShowHint).WithDefault(1),
        // A font taken from the parent is the parent's to store.
        ClassProperty<T>("Font", &T::Font).StoredWhen([](TPersistent* o) { return !static_cast<T*>(o)->ParentFont(); }),
        EnumProperty<T>("Align", &T::Align, &T::SetAlign, {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient"})
            .WithDefault(0),
        StringProperty<T>("Hint", &T::Hint, &T::SetHint),
        IntegerProperty<T>("HelpContext", &T::HelpContext, &T::SetHelpContext).WithDefault(0),
        PopupMenuProperty<T>(),
        EventProperty<T>("OnClick", &T::OnClick),
        EventProperty<T>("OnDblClick", &T::OnDblClick),
        EventProperty<T>("OnMouseDown", &T::OnMouseDown),
        EventProperty<T>("OnMouseMove", &T::OnMouseMove),
        EventProperty<T>("OnMouseUp", &T::OnMouseUp),
    };
}

template <class T>
std::vector<TPropInfo> WinControlProperties() {
    auto props = ControlProperties<T>();
    props.push_back(BooleanProperty<T>("Ctl3D", &T::Ctl3D, &T::SetCtl3D).WithDefault(1));
    props.push_back(BooleanProperty<T>("ParentCtl3D", &T::ParentCtl3D, &T::SetParentCtl3D).WithDefault(1));
    props.push_back(BooleanProperty<T>("TabStop", &T::TabStop, &T::SetTabStop));
    props.push_back(IntegerProperty<T>("HelpContext", &T::HelpContext, &T::SetHelpContext).WithDefault(0));
    props.push_back(EventProperty<T>("OnEnter", &T::OnEnter));
    props.push_back(EventProperty<T>("OnExit", &T::OnExit));
    props.push_back(EventProperty<T>("OnKeyDown", &T::OnKeyDown));
    props.push_back(EventProperty<T>("OnKeyPress", &T::OnKeyPress));
    props.push_back(EventProperty<T>("OnKeyUp", &T::OnKeyUp));
    return props;
}

template <class T>
std::vector<TPropInfo> With(std::vector<TPropInfo> Base, std::vector<TPropInfo> Own) {
    for (auto& p : Own) Base.push_back(std::move(p));
    return Base;
}

// Controls that store Text rather than Caption and start in the window colour (edits, lists).
template <class T>
std::vector<TPropInfo> TextControlProperties() {
    auto props = WinControlProperties<T>();
    std::erase_if(props, [](const TPropInfo& p) { return p.Name == "Caption"; });
    props.push_back(ColorProperty<T>("Color", &T::Color, &T::SetColor).WithDefault(clWindow));
    props.push_back(BooleanProperty<T>("ParentColor", &T::ParentColor, &T::SetParentColor).WithDefault(0));
    props.push_back(BooleanProperty<T>("TabStop", &T::TabStop, &T::SetTabStop).WithDefault(1));
    return props;
}

// A panel's own, for TPanel and the suite's panels that derive from TCustomPanel.
template <class T>
std::vector<TPropInfo> PanelProperties() {
    return With<T>(WinControlProperties<T>(), {
        EnumProperty<T>("Alignment", &T::Alignment, &T::SetAlignment, {"taLeftJustify", "taRightJustify", "taCenter"})
            .WithDefault(int(TAlignment::taCenter)),
        EnumProperty<T>("BevelInner", &T::BevelInner, &T::SetBevelInner, {"bvNone", "bvLowered", "bvRaised"})
            .WithDefault(int(TPanelBevel::bvNone)),
        EnumProperty<T>("BevelOuter", &T::BevelOuter, &T::SetBevelOuter, {"bvNone", "bvLowered", "bvRaised"})
            .WithDefault(int(TPanelBevel::bvRaised)),
        IntegerProperty<T>("BevelWidth", &T::BevelWidth, &T::SetBevelWidth).WithDefault(1),
        IntegerProperty<T>("BorderWidth", &T::BorderWidth, &T::SetBorderWidth).WithDefault(0),
        EnumProperty<T>("BorderStyle", &T::BorderStyle, &T::SetBorderStyle, {"bsNone", "bsSingle"})
            .WithDefault(int(TBorderStyle::bsNone)),
        BooleanProperty<T>("Locked", &T::Locked, &T::SetLocked).WithDefault(0),
        // A panel starts in the face colour, not its parent's.
        BooleanProperty<T>("ParentColor", &T::ParentColor, &T::SetParentColor).WithDefault(0),
        EventProperty<T>("OnResize", &T::OnResize),
    });
}

} // namespace vcl
