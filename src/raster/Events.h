#pragma once

#include <algorithm>
#include <functional>
#include <utility>
#include <vector>

namespace zp {

// A multicast notification. Handlers are identified by the number Add returns, so an
// observer can unsubscribe without holding on to the handler object. A handler may add or
// remove handlers while it runs: added ones are called from the next notification on, removed
// ones are not called again, not even later in the same notification.
template <class... Args> class TEventList {
public:
    using THandler = std::function<void(Args...)>;

    int Add(THandler Handler) {
        Handlers.emplace_back(++LastId, std::move(Handler));
        return LastId;
    }

    void Remove(int Id) {
        std::erase_if(Handlers, [Id](const auto& Entry) { return Entry.first == Id; });
    }

    bool Empty() const { return Handlers.empty(); }

    void Notify(Args... A) const {
        if (Handlers.empty()) return;
        if (Handlers.size() == 1) {
            const THandler Single = Handlers.front().second;
            Single(A...);
            return;
        }
        const auto Snapshot = Handlers;
        for (const auto& Entry : Snapshot) {
            // An earlier handler may have removed this one, and with it its owner.
            const bool Registered = std::any_of(Handlers.begin(), Handlers.end(),
                                                [&](const auto& H) { return H.first == Entry.first; });
            if (Registered) Entry.second(A...);
        }
    }

private:
    std::vector<std::pair<int, THandler>> Handlers;
    int LastId = 0;
};

} // namespace zp
