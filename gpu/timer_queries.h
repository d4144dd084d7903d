// GPU timestamps read without waiting: a ring of frames, each with a fixed
// set of GL_TIMESTAMP queries ("marks"), whose results are read only once
// the driver says they are available, normally a few frames after they were
// issued. A frame whose results are still missing when its slot comes round
// again is dropped, never waited for; only finish() waits, after the last
// frame.
#pragma once

#include <GL/glew.h>

#include <functional>
#include <vector>

// GL_TIMESTAMP queries issued by every ring since the program started: a
// frame drawn without timing issues none.
long timestampQueriesIssued();

class TimestampRing {
public:
    // `depth` frames in flight at most, `marks` timestamps a frame. Needs a
    // current context.
    TimestampRing(int depth, int marks);
    ~TimestampRing();
    TimestampRing(const TimestampRing&) = delete;
    TimestampRing& operator=(const TimestampRing&) = delete;

    // A frame's timestamps once they are all there: nanoseconds for each
    // mark, 0 for a mark the frame did not stamp. `frame` is startFrame's.
    std::function<void(int frame, const std::vector<GLuint64>& stamps)> arrived;

    // Begins frame `frame` in the next slot, after collecting what has
    // arrived; a frame still in flight in that slot is dropped.
    void startFrame(int frame);
    // Stamps `mark` of the current frame when the GPU gets there.
    void stamp(int mark);
    // Hands every frame whose results are available to `arrived`, oldest
    // first, without waiting.
    void collect();
    // After the last frame: waits for every frame in flight and hands it on.
    void finish();

    int dropped() const { return dropped_; }

private:
    struct Slot {
        std::vector<GLuint> queries;
        std::vector<bool> stamped;
        int frame = -1;  // -1: nothing in flight
        long order = 0;  // when it was started, for handing frames on in order
    };

    bool available(const Slot& slot) const;
    void handOn(Slot& slot);

    int marks_;
    std::vector<Slot> slots_;
    int current_ = -1;
    long started_ = 0;
    int dropped_ = 0;
};
