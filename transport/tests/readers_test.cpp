#include "transport/camera_presets_output.h"
#include "transport/config_data_output.h"
#include "transport/events_output.h"

#include <gtest/gtest.h>

#include <vector>

using namespace transport;
using Bytes = std::vector<std::uint8_t>;

TEST(AReader, IsDoneAtOnceOverACountAlone)
{
    EventsOutput reader(Bytes{5});
    std::int16_t done = 0;
    reader.isDone(&done);
    EXPECT_EQ(done, -1);
}

TEST(AReader, ReadsZerosPastItsPayloadAndNeverWrapsItsCursor)
{
    CameraPresetsOutput reader(Bytes{1, 2, 3, 4});
    std::int16_t a = 0, b = 0, c = 0, done = 0;
    for (int i = 0; i < 20000; ++i)
        reader.getTuple(&a, &b, &c);
    EXPECT_EQ(a, 0);
    reader.isDone(&done);
    EXPECT_EQ(done, -1);
    reader.Begin();
    reader.getTuple(&a, &b, &c);
    EXPECT_EQ(a, 2);
    EXPECT_EQ(c, 4);
}

TEST(AReader, ReadsCameraIdsOnlyInsideItsPayload)
{
    ConfigDataOutput reader(Bytes{2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 9});
    std::int16_t id = -5;
    reader.getCameraID(0, &id);
    EXPECT_EQ(id, 9);
    reader.getCameraID(1, &id);
    EXPECT_EQ(id, 0);
    reader.getCameraID(-12, &id);
    EXPECT_EQ(id, 0);
    EXPECT_EQ(reader.getCameraID(0, nullptr), E_POINTER);
}

TEST(AReader, KeepsNoMoreThanTheLargestMessage)
{
    EventsOutput reader(Bytes(1200, 1));
    std::int16_t a = 0, b = 0, c = 0;
    for (int i = 0; i < 334; ++i)
        reader.getTuple(&a, &b, &c);
    EXPECT_EQ(a, 0);
}
