// Whether the loaded file has unsaved edits: one flag in file mode, one per aircraft and
// variation in library mode.
#pragma once

#include <functional>
#include <map>
#include <utility>

namespace kelvara {

class ChangeTracker {
public:
    // Told after every change of the flag or of the current variation.
    void SetListener(std::function<void()> listener) { mListener = std::move(listener); }
    void SetLibraryMode(bool library) { mLibraryMode = library; }
    [[nodiscard]] bool LibraryMode() const { return mLibraryMode; }
    void SetCurrent(int aircraft, int variation) {
        mCurrent = {aircraft, variation};
        Notify();
    }
    [[nodiscard]] std::pair<int, int> Current() const { return mCurrent; }

    void SetChanged(bool changed);
    [[nodiscard]] bool IsChanged() const;
    // Library mode: the current variation's number is flagged in any aircraft.
    [[nodiscard]] bool AnyChanged() const;

private:
    void Notify() const {
        if (mListener) {
            mListener();
        }
    }

    std::function<void()> mListener;
    bool mLibraryMode = false;
    bool mFileChanged = false;
    std::pair<int, int> mCurrent{0, 0};
    std::map<std::pair<int, int>, bool> mVariationChanged;
};

} // namespace kelvara
