// The published properties of the editor control, for the streaming registration of the editor
// classes that publish them.
#pragma once

#include "editor/ZelEditor.h"
#include "vcl/StoredControls.h"

#include <vector>

namespace editor {

template <class T>
std::vector<vcl::TPropInfo> EditorProperties() {
    using namespace vcl;
    auto look = [](std::string Name, bool Ins) {
        TPropInfo info;
        info.Name = std::move(Name);
        info.Kind = TPropKind::Class;
        info.GetObject = [Ins](TPersistent* o) -> TPersistent* {
            T& e = detail::As<T>(o);
            return Ins ? e.CaretIns().get() : e.CaretOvr().get();
        };
        return info;
    };
    return With<T>(WinControlProperties<T>(), {
        BooleanProperty<T>("AutoIndent", &T::AutoIndent, &T::SetAutoIndent).WithDefault(0),
        EnumProperty<T>("BorderStyle", &T::BorderStyle, &T::SetBorderStyle, {"bsNone", "bsSingle"})
            .WithDefault(int(TEditorBorderStyle::bsSingle)),
        IntegerProperty<T>("ByteLimit", &T::ByteLimit, &T::SetByteLimit).WithDefault(MaxLongInt),
        look("CaretIns", true),
        look("CaretOvr", false),
        ClassProperty<T>("FixedFont", &T::FixedFont),
        BooleanProperty<T>("HideSelection", &T::HideSelection, &T::SetHideSelection).WithDefault(1),
        ClassProperty<T>("HighlightColors", &T::HighlightColors),
        BooleanProperty<T>("InsertMode", &T::InsertMode, &T::SetInsertMode).WithDefault(1),
        IntegerProperty<T>("LeftMargin", &T::LeftMargin, &T::SetLeftMargin).WithDefault(15),
        IntegerProperty<T>("ParaLengthLimit", &T::ParaLengthLimit, &T::SetParaLengthLimit).WithDefault(32767),
        IntegerProperty<T>("ParaLimit", &T::ParaLimit, &T::SetParaLimit).WithDefault(MaxLongInt),
        BooleanProperty<T>("ReadOnly", &T::ReadOnly, &T::SetReadOnly).WithDefault(0),
        // The stored default is 15 while a new editor has 5: the margin is always written.
        IntegerProperty<T>("RightMargin", &T::RightMargin, &T::SetRightMargin).WithDefault(15),
        EnumProperty<T>("ScrollBars", &T::ScrollBars, &T::SetScrollBars,
                        {"ssNone", "ssHorizontal", "ssVertical", "ssBoth"})
            .WithDefault(int(TEditorScrollBars::ssBoth)),
        BooleanProperty<T>("ScrollBarsAlways", &T::ScrollBarsAlways, &T::SetScrollBarsAlways).WithDefault(0),
        BooleanProperty<T>("ScrollPastEnd", &T::ScrollPastEnd, &T::SetScrollPastEnd).WithDefault(0),
        BooleanProperty<T>("ShowBookmarks", &T::ShowBookmarks, &T::SetShowBookmarks).WithDefault(1),
        IntegerProperty<T>("TabSize", &T::TabSize, &T::SetTabSize).WithDefault(8),
        EnumProperty<T>("TabType", &T::TabType, &T::SetTabType, {"ttReal", "ttFixed", "ttSmart"})
            .WithDefault(int(TTabType::ttReal)),
        BooleanProperty<T>("TrimWhiteSpace", &T::TrimWhiteSpace, &T::SetTrimWhiteSpace).WithDefault(1),
        IntegerProperty<T>("UndoBufferSize", &T::UndoBufferSize, &T::SetUndoBufferSize).WithDefault(8192),
        BooleanProperty<T>("WantEnter", &T::WantEnter, &T::SetWantEnter).WithDefault(1),
        BooleanProperty<T>("WantTab", &T::WantTab, &T::SetWantTab).WithDefault(0),
        BooleanProperty<T>("WordWrap", &T::WordWrap, &T::SetWordWrap).WithDefault(0),
        BooleanProperty<T>("WrapAtLeft", &T::WrapAtLeft, &T::SetWrapAtLeft).WithDefault(1),
        IntegerProperty<T>("WrapColumn", &T::WrapColumn, &T::SetWrapColumn).WithDefault(80),
        BooleanProperty<T>("WrapToWindow", &T::WrapToWindow, &T::SetWrapToWindow).WithDefault(0),
        BooleanProperty<T>("ParentColor", &T::ParentColor, &T::SetParentColor).WithDefault(0),
        EventProperty<T>("OnChange", &T::OnChange),
        EventProperty<T>("OnDrawLine", &T::OnDrawLine),
        EventProperty<T>("OnError", &T::OnError),
        EventProperty<T>("OnShowStatus", &T::OnShowStatus),
        EventProperty<T>("OnTopLineChanged", &T::OnTopLineChanged),
        EventProperty<T>("OnUserCommand", &T::OnUserCommand),
    });
}

} // namespace editor
