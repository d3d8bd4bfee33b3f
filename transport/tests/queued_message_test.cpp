#include "transport/queued_message.h"

#include <gtest/gtest.h>

#include <string>

using transport::QueuedMessage;

TEST(AQueuedMessage, CarriesALinkErrorAsAZeroPadded255BytePayload)
{
    const auto message = QueuedMessage::LinkError("No such file or directory");
    EXPECT_EQ(message->type(), 0);
    EXPECT_EQ(message->length(), 255);
    EXPECT_EQ(message->errorText(), "No such file or directory");
    EXPECT_EQ(message->bytes()[25], 0);
    EXPECT_EQ(message->bytes()[254], 0);
}

TEST(AQueuedMessage, CutsALongErrorTextTo254Bytes)
{
    const auto message = QueuedMessage::LinkError(std::string(300, 'e'));
    EXPECT_EQ(message->length(), 255);
    EXPECT_EQ(message->errorText(), std::string(254, 'e'));
}

TEST(AQueuedMessage, CopiesTheBytesItIsGiven)
{
    std::uint8_t bytes[] = {1, 2, 3};
    const QueuedMessage message('B', bytes, 3);
    bytes[0] = 9;
    EXPECT_EQ(message.length(), 3);
    EXPECT_EQ(message.data()[0], 1);
    EXPECT_EQ(QueuedMessage('B', bytes, -4).length(), 0);
}
