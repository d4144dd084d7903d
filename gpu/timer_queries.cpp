#include "gpu/timer_queries.h"

#include <algorithm>

namespace {
long issued = 0;
}  // namespace

long timestampQueriesIssued() { return issued; }

TimestampRing::TimestampRing(int depth, int marks) : marks_(marks), slots_(static_cast<size_t>(depth)) {
    for (Slot& slot : slots_) {
        slot.queries.assign(static_cast<size_t>(marks), 0);
        slot.stamped.assign(static_cast<size_t>(marks), false);
        glGenQueries(marks, slot.queries.data());
    }
}

TimestampRing::~TimestampRing() {
    for (Slot& slot : slots_) glDeleteQueries(marks_, slot.queries.data());
}

bool TimestampRing::available(const Slot& slot) const {
    for (int mark = 0; mark < marks_; ++mark) {
        if (!slot.stamped[static_cast<size_t>(mark)]) continue;
        GLint ready = GL_FALSE;
        glGetQueryObjectiv(slot.queries[static_cast<size_t>(mark)], GL_QUERY_RESULT_AVAILABLE, &ready);
        if (ready != GL_TRUE) return false;
    }
    return true;
}

void TimestampRing::handOn(Slot& slot) {
    std::vector<GLuint64> stamps(static_cast<size_t>(marks_), 0);
    for (int mark = 0; mark < marks_; ++mark) {
        const auto at = static_cast<size_t>(mark);
        if (slot.stamped[at]) glGetQueryObjectui64v(slot.queries[at], GL_QUERY_RESULT, &stamps[at]);
        slot.stamped[at] = false;
    }
    const int frame = slot.frame;
    slot.frame = -1;
    if (arrived) arrived(frame, stamps);
}

void TimestampRing::collect() {
    // Oldest first, and none after one that is not there yet: the frames
    // arrive in the order they were drawn.
    const Slot* drawing = current_ >= 0 ? &slots_[static_cast<size_t>(current_)] : nullptr;
    std::vector<Slot*> inFlight;
    for (Slot& slot : slots_)
        if (slot.frame >= 0 && &slot != drawing) inFlight.push_back(&slot);
    std::sort(inFlight.begin(), inFlight.end(), [](const Slot* a, const Slot* b) { return a->order < b->order; });
    for (Slot* slot : inFlight) {
        if (!available(*slot)) return;
        handOn(*slot);
    }
}

void TimestampRing::startFrame(int frame) {
    current_ = -1;
    collect();
    current_ = static_cast<int>(started_ % static_cast<long>(slots_.size()));
    Slot& slot = slots_[static_cast<size_t>(current_)];
    if (slot.frame >= 0) {
        // Still not there after a whole ring of frames: dropped, not waited for.
        ++dropped_;
        std::fill(slot.stamped.begin(), slot.stamped.end(), false);
    }
    slot.frame = frame;
    slot.order = started_++;
}

void TimestampRing::stamp(int mark) {
    if (current_ < 0) return;
    Slot& slot = slots_[static_cast<size_t>(current_)];
    glQueryCounter(slot.queries[static_cast<size_t>(mark)], GL_TIMESTAMP);
    slot.stamped[static_cast<size_t>(mark)] = true;
    ++issued;
}

void TimestampRing::finish() {
    current_ = -1;
    std::vector<Slot*> inFlight;
    for (Slot& slot : slots_)
        if (slot.frame >= 0) inFlight.push_back(&slot);
    std::sort(inFlight.begin(), inFlight.end(), [](const Slot* a, const Slot* b) { return a->order < b->order; });
    for (Slot* slot : inFlight) handOn(*slot);
}
