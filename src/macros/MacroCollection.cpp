#include "macros/MacroCollection.h"

#include <algorithm>
#include <set>
#include <system_error>
#include <unordered_set>
#include <utility>

#include "macros/MacroFile.h"
#include "macros/MacroFileName.h"
#include "profile/DataStream.h"
#include "profile/FileIO.h"
#include "profile/TextCodec.h"

namespace orvane {

namespace fs = std::filesystem;

namespace {

// A shorter folder is taken for one that was never set; saving there would
// scatter files wherever the relative path happens to point.
constexpr std::size_t kMinFolderCharacters = 4;

bool folderIsSet(const fs::path& folder) {
    return fromUtf8(folder.string()).size() >= kMinFolderCharacters;
}

// Absolute, without "." and "..", without a trailing separator: the one
// spelling that saving writes into the list and loading compares against.
fs::path normalFolder(const fs::path& folder) {
    std::error_code error;
    fs::path result = fs::absolute(folder, error);
    if (error) {
        result = folder;
    }
    result = result.lexically_normal();
    if (!result.has_filename() && result.has_relative_path()) {
        result = result.parent_path();
    }
    return result;
}

// File systems that ignore letter case ignore at least that of ASCII.
std::string foldAscii(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    });
    return text;
}

// A folder where a file of ours belongs would make every save fail, and so
// would a link to one; neither is ours, and the sweep after the save would
// remove them anyway. A link is removed, never followed.
void clearWayFor(const fs::path& path) {
    std::error_code error;
    const fs::file_status status = fs::symlink_status(path, error);
    if (fs::is_symlink(status)) {
        fs::remove(path, error);
    } else if (fs::is_directory(status)) {
        removeFolderTree(path);
    }
}

// On a file system that ignores letter case, a file we just wrote may still
// carry the spelling of an older file, so a name that differs is not proof
// of a stale file.
bool isOneOf(const fs::path& entry, const fs::path& folder, const std::set<std::string>& names) {
    return std::any_of(names.begin(), names.end(), [&](const std::string& name) {
        std::error_code error;
        return fs::equivalent(entry, folder / name, error) && !error;
    });
}

void removeEverythingBut(const fs::path& folder, const std::set<std::string>& keep) {
    std::error_code error;
    // Collected first: whether a directory iteration sees entries removed
    // during it is unspecified.
    std::vector<fs::path> entries;
    for (fs::directory_iterator it(folder, error); !error && it != fs::directory_iterator();
         it.increment(error)) {
        entries.push_back(it->path());
    }
    for (const fs::path& entry : entries) {
        if (keep.contains(entry.filename().string())) {
            continue;
        }
        const fs::file_status status = fs::symlink_status(entry, error);
        if (fs::is_regular_file(status) && isOneOf(entry, folder, keep)) {
            continue;
        }
        if (fs::is_directory(status)) {
            removeFolderTree(entry);
        } else {
            fs::remove(entry, error);
        }
    }
}

// Only a file directly inside the macro folder may be read: the list is a
// file on disk like any other, and must not send us elsewhere.
bool isDirectlyInside(const fs::path& listed, const fs::path& folder) {
    if (!listed.is_absolute() || !listed.has_filename() || listed.filename() == ".") {
        return false;
    }
    const bool climbs = std::any_of(listed.begin(), listed.end(),
                                    [](const fs::path& part) { return part == ".."; });
    return !climbs && normalFolder(listed.parent_path()) == folder;
}

}  // namespace

void MacroCollection::setEditor(MacroEditorView* editor) {
    editorView = editor;
    for (const auto& macro : macroList) {
        macro->editor = editor;
    }
}

CMacro& MacroCollection::addMacro(std::int32_t id, std::u16string name) {
    auto macro = std::make_unique<CMacro>();
    macro->id = id;
    macro->name = std::move(name);
    macro->editor = editorView;
    if (editorView != nullptr) {
        macro->layoutRect = editorView->clientRect();
    }
    macroList.push_back(std::move(macro));
    return *macroList.back();
}

CMacro* MacroCollection::findMacro(std::int32_t id) {
    return const_cast<CMacro*>(std::as_const(*this).findMacro(id));
}

const CMacro* MacroCollection::findMacro(std::int32_t id) const {
    const auto found = std::find_if(macroList.begin(), macroList.end(),
                                    [id](const auto& macro) { return macro->id == id; });
    return found == macroList.end() ? nullptr : found->get();
}

void MacroCollection::removeMacro(std::int32_t id) {
    const auto found = std::find_if(macroList.begin(), macroList.end(),
                                    [id](const auto& macro) { return macro->id == id; });
    if (found == macroList.end()) {
        return;
    }
    if (currentMacro == found->get()) {
        currentMacro = nullptr;
    }
    macroList.erase(found);
}

std::optional<ButtonMacro> MacroCollection::copyMacroForButton(std::int32_t id) const {
    const CMacro* macro = findMacro(id);
    if (macro == nullptr) {
        return std::nullopt;
    }
    ButtonMacro copy;
    copy.name = macro->name;
    copy.id = static_cast<std::uint32_t>(macro->id);
    copy.events.reserve(macro->events.size());
    for (const CEventItem& event : macro->events) {
        copy.events.push_back({event.type, event.code, event.state, event.delay});
    }
    return copy;
}

bool MacroCollection::saveMacroFiles() {
    if (!folderIsSet(macroFolder)) {
        return false;
    }
    const fs::path folder = normalFolder(macroFolder);
    const fs::path listPath = folder / kMacroListFileName;
    // Through the list file's path, so that a folder whose own name holds a
    // dot is created too.
    ensureFolderFor(listPath);
    std::error_code error;
    if (!fs::is_directory(folder, error)) {
        return false;
    }

    std::set<std::string> written;
    std::unordered_set<std::string> takenNames;
    std::vector<std::u16string> listedPaths;
    for (const auto& macro : macroList) {
        std::size_t extraOnes = 0;
        std::optional<std::string> fileName = macroFileName(macro->name);
        while (fileName && takenNames.contains(foldAscii(*fileName))) {
            fileName = macroFileName(macro->name, ++extraOnes);
        }
        if (!fileName) {
            return false;
        }
        if (extraOnes > 0) {
            macro->name.append(extraOnes, u'1');
            if (editorView != nullptr) {
                editorView->repaint();
            }
        }
        const fs::path path = folder / *fileName;
        clearWayFor(path);
        DataStream stream = DataStream::forWriting();
        writeMacro(*macro, stream);
        if (!writeWholeFile(path, stream)) {
            return false;
        }
        takenNames.insert(foldAscii(*fileName));
        written.insert(*fileName);
        listedPaths.push_back(fromUtf8(path.string()));
    }

    DataStream list = DataStream::forWriting();
    writeMacroList(listedPaths, list);
    clearWayFor(listPath);
    if (!writeWholeFile(listPath, list)) {
        return false;
    }
    written.insert(std::string(kMacroListFileName));
    removeEverythingBut(folder, written);
    return true;
}

MacroLoadReport MacroCollection::loadMacroFiles() {
    MacroLoadReport report;
    if (currentMacro != nullptr) {
        currentMacro->clearEvents();
        if (editorView != nullptr) {
            editorView->repaint();
        }
    }
    if (!folderIsSet(macroFolder)) {
        return report;
    }
    const fs::path folder = normalFolder(macroFolder);
    const fs::path listPath = folder / kMacroListFileName;
    std::error_code error;
    if (!fs::exists(fs::symlink_status(listPath, error))) {
        return report;
    }
    DataStream list;
    if (!readWholeFile(listPath, list)) {
        report.listDamaged = true;
        return report;
    }
    // The list holds UTF-16 text, which cannot carry every byte a folder
    // name may hold; both sides are compared after the same conversion, and
    // the file is opened in the folder we know.
    const fs::path listedFolder = normalFolder(fs::path(toUtf8(fromUtf8(folder.string()))));
    const bool complete = readMacroList(list, [&](std::u16string text) {
        const fs::path listed(toUtf8(text));
        if (!isDirectlyInside(listed, listedFolder)) {
            ++report.skipped;
            return;
        }
        const fs::path path = folder / listed.filename();
        auto macro = std::make_unique<CMacro>();
        macro->editor = editorView;
        DataStream file;
        std::error_code statusError;
        // Saving never leaves a link behind, so a link is not a file of ours.
        if (!fs::is_regular_file(fs::symlink_status(path, statusError)) ||
            !readWholeFile(path, file) || !readMacro(file, *macro)) {
            ++report.skipped;
            return;
        }
        macroList.push_back(std::move(macro));
        ++report.loaded;
    });
    report.listDamaged = !complete;
    return report;
}

}  // namespace orvane
