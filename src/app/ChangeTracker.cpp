#include "ChangeTracker.h"

namespace kelvara {

void ChangeTracker::SetChanged(bool changed) {
    if (mLibraryMode) {
        mVariationChanged[mCurrent] = changed;
    } else {
        mFileChanged = changed;
    }
    Notify();
}

bool ChangeTracker::IsChanged() const {
    if (!mLibraryMode) {
        return mFileChanged;
    }
    const auto it = mVariationChanged.find(mCurrent);
    return it != mVariationChanged.end() && it->second;
}

bool ChangeTracker::AnyChanged() const {
    if (!mLibraryMode) {
        return mFileChanged;
    }
    for (const auto& [key, changed] : mVariationChanged) {
        if (changed && key.second == mCurrent.second) {
            return true;
        }
    }
    return false;
}

} // namespace kelvara
