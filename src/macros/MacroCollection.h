#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "macros/CMacro.h"
#include "macros/MacroEditorView.h"
#include "profile/MouseProfile.h"

namespace orvane {

// What loadMacroFiles() found, for a caller that wants to tell the user.
struct MacroLoadReport {
    std::size_t loaded = 0;
    // Listed files that were missing, damaged, links, or outside the folder.
    std::size_t skipped = 0;
    // The list file could not be read, or ended before its count said.
    bool listDamaged = false;
};

// The user's macros, in creation order (file order after loading), with the
// folder their files live in. The event editor owns one and shows
// currentMacro.
class MacroCollection {
  public:
    std::filesystem::path macroFolder;
    // Non-owning; removeMacro() clears it when its macro goes.
    CMacro* currentMacro = nullptr;

    explicit MacroCollection(MacroEditorView* editor = nullptr) : editorView(editor) {}

    MacroEditorView* editor() const { return editorView; }
    // Also hands the editor to every macro already held.
    void setEditor(MacroEditorView* editor);

    // Owned macros; their addresses stay valid until they are removed.
    const std::vector<std::unique_ptr<CMacro>>& macros() const { return macroList; }

    // Appends an empty macro laid out for the editor's current client
    // rectangle (an empty one without an editor).
    CMacro& addMacro(std::int32_t id, std::u16string name);
    // The first macro with this id, or none.
    CMacro* findMacro(std::int32_t id);
    const CMacro* findMacro(std::int32_t id) const;
    // Removes the first macro with this id, if any.
    void removeMacro(std::int32_t id);
    // A deep copy of the first macro with this id for a button of a profile,
    // every step included; none when no macro has the id.
    std::optional<ButtonMacro> copyMacroForButton(std::int32_t id) const;

    // Writes every macro file and then the list file, and only then removes
    // everything else from the folder, so an interruption never leaves the
    // folder without the user's macros. A macro whose file name collides
    // (letter case ignored) with one written before gets "1" appended to its
    // name. False when anything could not be written; nothing is removed
    // then. Also false, doing nothing, when the folder is not set.
    bool saveMacroFiles();
    // Appends the macros the list file names. Files that are missing,
    // damaged, or not directly inside macroFolder are skipped. Without a list
    // file the collection stays as it is.
    MacroLoadReport loadMacroFiles();

  private:
    MacroEditorView* editorView;
    std::vector<std::unique_ptr<CMacro>> macroList;
};

}  // namespace orvane
