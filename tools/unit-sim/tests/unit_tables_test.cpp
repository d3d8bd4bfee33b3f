#include "tools/unit-sim/unit_tables.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace unitsim;
using testing::ElementsAre;
using testing::IsEmpty;

namespace {

std::vector<Message> ask(UnitTables &tables, char type, Bytes payload = {})
{
    return tables.handle(Message{static_cast<std::uint8_t>(type), std::move(payload)});
}

std::vector<Bytes> payloads(const std::vector<Message> &messages)
{
    std::vector<Bytes> out;
    for (const auto &m : messages)
        out.push_back(m.payload);
    return out;
}

} // namespace

TEST(UnitTablesKeyed, ReplaceATableUnderTheSameKeyAndAnswerInKeyOrder)
{
    UnitTables tables;
    ask(tables, 'M', {2, 1, 1, 1});
    ask(tables, 'M', {1, 9, 9, 9});
    ask(tables, 'M', {2, 5, 5, 5});
    ask(tables, 'T', {1, 4, 5, 0});
    ask(tables, 'T', {2, 4, 6, 0});
    EXPECT_THAT(payloads(ask(tables, 'm')), ElementsAre(Bytes{1, 9, 9, 9}, Bytes{2, 5, 5, 5}));
    EXPECT_THAT(payloads(ask(tables, 't')), ElementsAre(Bytes{2, 4, 6, 0}));
}

TEST(UnitTablesKeyed, AnswerEmptyTimingAndEventTablesButNoOtherTablesWhenNoneWereSent)
{
    UnitTables tables;
    EXPECT_THAT(payloads(ask(tables, 'g')), ElementsAre(Bytes(11, 0)));
    EXPECT_THAT(payloads(ask(tables, 'e')), ElementsAre(Bytes{0}));
    EXPECT_THAT(ask(tables, 'c'), IsEmpty());
    EXPECT_THAT(ask(tables, 'o', {4}), IsEmpty());
}

TEST(UnitTablesKeyed, ForgetEverythingOnClearMemoryAndCountARestart)
{
    UnitTables tables;
    ask(tables, 'C', {1, 4, 1, 2});
    ask(tables, 'p', {1, 0xFF, 1});
    EXPECT_THAT(ask(tables, 'x'), IsEmpty());
    EXPECT_THAT(tables.tables('C'), IsEmpty());
    EXPECT_EQ(tables.resetCount(), 1);
    EXPECT_EQ(tables.passThroughCount(), 1u);
    EXPECT_THAT(tables.lastPassThrough(), ElementsAre(1, 0xFF, 1));
    EXPECT_THAT(ask(tables, 'K'), IsEmpty());
    EXPECT_EQ(tables.unknownCount(), 1u);
}
