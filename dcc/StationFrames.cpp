#include "StationFrames.h"

#include "Frames.h"

namespace station_frames {

namespace {

Frame closed(Frame frame)
{
    frames::closeFrame(frame);
    return frame;
}

} // namespace

Frame emergencyStop()
{
    return closed({0x80});
}

Frame trackPowerOff()
{
    return closed({0x21, 0x80});
}

Frame resumeOperation()
{
    return closed({0x21, 0x81});
}

Frame versionQuery()
{
    return closed({0x21, 0x21});
}

Frame statusQuery()
{
    return closed({0x21, 0x24});
}

} // namespace station_frames
