#pragma once

// Keys and names that stored descriptions, pane bundles and their peers spell
// this way. They are part of the format: never "correct" them.
namespace ComTORVALEKZ2R4_Plugin::wire {

// The user-info key of a control's announcement that carries its new value.
inline constexpr const char* kParameter = "Paramater";
// Posted with the main keyword appended once a change has been accepted.
inline constexpr const char* kValueChangeFinishedPrefix = "ValueChangFinished_";
// The pane controller in an entry of the plug-in table.
inline constexpr const char* kPaneController = "paneConroller";

}  // namespace ComTORVALEKZ2R4_Plugin::wire
