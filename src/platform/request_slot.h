#pragma once
// Asynchronous requests and their replies, one way for the whole program.
//
// Every request (a list download, a song search, a lyrics fetch, a web
// query, a folder import, a parse that lets events run) has an identity: a
// RequestId from one program-wide counter, never 0 and never reused. Its
// reply carries the identity back. Whoever waits for replies keeps the
// identity of the one request it still wants in a RequestSlot:
//
//   Begin()   a new request replaces whatever the slot held;
//   Cancel()  nothing is wanted any more (stop, a new selection, a new song);
//   Answers() whether a reply is for the request the slot holds: a reply
//             for an earlier request, or one that came after Cancel(), is
//             not, and is dropped without acting on anything.
//
// The invariant: at most one request of a slot is current; once a slot has
// moved on, no reply of an earlier request can ever be taken for a current
// one, however late it arrives.

#include <cstdint>

namespace tavo {

using RequestId = std::uint64_t;

// The next identity of the program (safe from any thread).
RequestId NextRequestId();

class RequestSlot {
public:
    // Starts a new request and returns its identity.
    RequestId Begin() { return current_ = NextRequestId(); }
    // Holds a request whose identity was made elsewhere (a download started
    // for the slot's owner).
    void Hold(RequestId id) { current_ = id; }
    void Cancel() { current_ = 0; }

    RequestId Current() const { return current_; }
    bool Pending() const { return current_ != 0; }
    bool Answers(RequestId reply) const { return reply != 0 && reply == current_; }
    // Answers(), and the request is over: the slot is empty afterwards.
    bool Take(RequestId reply) {
        if (!Answers(reply)) return false;
        current_ = 0;
        return true;
    }

private:
    RequestId current_ = 0;
};

}  // namespace tavo
