#pragma once
// Write-locks the current document for the life of the guard, unless a guard of the plug-in already holds
// it or the document is already write-locked: nested database utilities lock once, at the outermost call.
// A lock that fails leaves the guard with nothing to unlock; the work goes on unlocked.
class AcApDocument;

class CDocLock {
public:
    CDocLock();
    ~CDocLock();
    CDocLock(const CDocLock&) = delete;
    CDocLock& operator=(const CDocLock&) = delete;

    // Whether a guard of the plug-in is active (the process-wide re-entrancy bit).
    static bool active();
    // Test support.
    static void reset();

private:
    enum class Held { Nothing, Marker, Document };
    Held m_held = Held::Nothing;
    AcApDocument* m_document = nullptr;
};
