#pragma once

#include <algorithm>
#include <vector>

namespace nobrisa {

// The object table of a metafile player: a created pen, brush or font takes the lowest free
// slot, and a deleted one frees it for the next. Writers must number their objects the same
// way, or the player selects the wrong object. WMF slots count from 0; EMF slots from 1, since
// handle 0 is the metafile itself.
class MetafileObjects final {
public:
    explicit MetafileObjects(int first) noexcept
        : mFirst(first)
    {
    }

    // The slot a new object takes.
    int take()
    {
        const auto free = std::find(mInUse.begin(), mInUse.end(), false);
        const int index = static_cast<int>(free - mInUse.begin()) + mFirst;
        if (free == mInUse.end())
            mInUse.push_back(true);
        else
            *free = true;
        return index;
    }

    // Frees a slot; false when it holds no object (nothing to delete).
    bool release(int index)
    {
        const int i = index - mFirst;
        if (i < 0 || i >= static_cast<int>(mInUse.size()) || !mInUse[i])
            return false;
        mInUse[i] = false;
        return true;
    }

    // Slots ever used: the size of the table a player needs.
    int size() const noexcept { return static_cast<int>(mInUse.size()); }

private:
    int mFirst;
    std::vector<bool> mInUse;
};

} // namespace nobrisa
