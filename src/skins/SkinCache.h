#pragma once

#include <QImage>
#include <QRect>
#include <QString>
#include <functional>
#include <memory>
#include <span>

namespace orvane {

struct SkinSheet;

// One answer of skinPart(): either a sheet that stays in the cache ("itself")
// or a picture that belongs to the holder (a piece, or a copy of a whole
// sheet), or a piece still to be cut. A null SkinImage is the answer "none".
// A cache sheet is decoded, and a deferred piece cut, when its picture is
// first asked for, not when it is handed out, so that a window that is
// created but not yet shown costs no decoding, and a look a control never
// takes (most controls are never disabled, many never pressed) is never cut.
class SkinImage {
  public:
    SkinImage() = default;
    // A picture at hand (controls also take plain pictures, drawn by code).
    SkinImage(QImage image);  // NOLINT(google-explicit-constructor)
    static SkinImage fromCache(SkinSheet& sheet);
    static SkinImage fromImage(QImage image);
    // The picture of a file of its own (the surface pictures, the count-down
    // digits), decoded by loadPicture() when first asked for.
    static SkinImage fromFileWhenDrawn(const QString& path);

    bool isNull() const;
    bool isCacheSheet() const { return cached != nullptr; }

    // Known without decoding: a cache sheet takes them from its file header.
    QSize size() const;
    bool hasAlphaChannel() const;

    // The picture itself; for a cache sheet this is the cache's own object,
    // so its address is the same for every request of that sheet.
    const QImage& image() const;

    // A QImage the caller may keep or change. For a cache sheet it shares the
    // sheet's pixels until it is written to (QImage copies on write), so the
    // cache is never changed through it.
    QImage toImage() const { return image(); }

  private:
    friend SkinImage skinPartWhenDrawn(int part, int state, const QRect& rect);
    struct Deferred;

    SkinSheet* cached = nullptr;
    QImage owned;
    // Shared by the copies, so that a piece is cut once however often the
    // control hands its looks around.
    std::shared_ptr<Deferred> deferred;
};

// The skin sheets are checked once per process: every file must be there and
// readable from the start. A sheet is decoded when a whole-sheet answer first
// needs it and kept until the process ends; pieces of a sheet nobody needs
// whole are read from its file, so most sheets never take memory. The cache
// belongs to the user-interface thread: every function below must be called
// there, and nothing locks.

// Checks every sheet of skinFolder(), once per process; later calls do
// nothing. skinPart() calls it on its first request.
void loadSkinSheets();

// The same from a given folder; also once per process, so it is the test seam
// together with resetSkinCacheForTests().
void loadSkinSheetsFrom(const QString& folder);

// Starts decoding the backgrounds of the main window and of its first page,
// found in `folder`, on a thread of their own. The program calls it first
// thing, before its QApplication is made, so that the decoding runs beside
// Qt's own start instead of after it. The sheets are still checked and
// handed out as always; a request for one of them takes the prefetched
// picture, waiting for it if need be, and then forgets it.
void prefetchMainWindowSheets(const QString& folder);

// Drops the prefetched pictures nobody took (a start in the tray).
void forgetPrefetchedSheets();

// Forgets every sheet and that they were loaded, so that a test can load
// another folder. SkinImages that refer to cache sheets dangle afterwards.
void resetSkinCacheForTests();

// The file names of the sheets in cache order, without a folder.
std::span<const char* const> skinSheetFileNames();

// The skin part `part` in `state` (0 Normal, 1 Over, 2 Down, 3 Disable) for
// the rectangle (left, top, right, bottom) in sheet coordinates; the
// rectangle matters for pieces only. A request that the part table does not
// know, or a piece of a sheet that did not load, runs the failure handler and
// answers none; so does nothing else: a whole sheet that did not load and a
// rectangle that does not lie inside its sheet answer none quietly.
SkinImage skinPart(int part, int state, int left, int top, int right, int bottom);
// The same with the rectangle as (x, y, width, height).
SkinImage skinPart(int part, int state, const QRect& rect);

// The same answer, but a piece is cut only when its picture is first asked
// for. The request is checked now, so that a part the table does not know or
// a piece of a sheet that failed the start-up check still runs the failure
// handler when the control is made, not at its first paint.
SkinImage skinPartWhenDrawn(int part, int state, const QRect& rect);

// What happens when the skin is unusable. The default tells the user "ui load
// failed!" once and asks the application to quit; tests put in their own.
// An empty function puts the default back. Answers the handler it replaces.
std::function<void()> setSkinFailureHandler(std::function<void()> handler);

// The decoded picture of one file, or a null QImage when it is missing or
// cannot be decoded. The file is read into memory and closed before the
// picture is decoded, so no picture file stays open.
QImage loadPicture(const QString& path);

}  // namespace orvane
