// The event publisher: order, arguments and changes of subscribers while it notifies.
#include "foundation/ZecabClasses.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> calls;
TEventPublisher* current = nullptr;

void First(uint8_t code, int32_t param, void* data) {
  calls.push_back("first " + std::to_string(code) + " " + std::to_string(param) + (data == &EventData ? " d" : ""));
}
void Second(uint8_t code, int32_t, void*) { calls.push_back("second " + std::to_string(code)); }
void AddsSecond(uint8_t, int32_t, void*) {
  calls.push_back("adder");
  current->Subscribe(Second);
}
void RemovesSecond(uint8_t, int32_t, void*) {
  calls.push_back("remover");
  current->Unsubscribe(Second);
}

struct EventPublisherTest : ::testing::Test {
  TEventPublisher publisher;
  void SetUp() override {
    calls.clear();
    current = &publisher;
  }
};

TEST_F(EventPublisherTest, NoSubscribersDoesNothing) {
  publisher.Notify(evStartup, 0, &EventData);
  EXPECT_EQ(publisher.Count(), 0);
  EXPECT_TRUE(calls.empty());
}

TEST_F(EventPublisherTest, CallsEverySubscriberInOrderWithTheArguments) {
  publisher.Subscribe(First);
  publisher.Subscribe(Second);
  publisher.Notify(evSegmentStart, 7, &EventData);
  EXPECT_EQ(calls, (std::vector<std::string>{"first 4 7 d", "second 4"}));
}

TEST_F(EventPublisherTest, SubscriberAddedDuringNotifyWaitsForTheNextEvent) {
  publisher.Subscribe(AddsSecond);
  publisher.Notify(evPlay, 0, nullptr);
  EXPECT_EQ(calls, (std::vector<std::string>{"adder"}));
  calls.clear();
  publisher.Unsubscribe(AddsSecond);
  publisher.Notify(evPause, 0, nullptr);
  EXPECT_EQ(calls, (std::vector<std::string>{"second 2"}));
}

TEST_F(EventPublisherTest, SubscriberRemovedDuringNotifyIsNotCalledAndNobodyIsSkipped) {
  publisher.Subscribe(RemovesSecond);
  publisher.Subscribe(Second);
  publisher.Subscribe(First);
  publisher.Notify(evStop, 0, nullptr);
  EXPECT_EQ(calls, (std::vector<std::string>{"remover", "first 3 0"}));
  EXPECT_EQ(publisher.Count(), 2);
}

TEST_F(EventPublisherTest, ProcessWideHelperPassesTheReservedDataPointer) {
  EventPublisher.Subscribe(First);
  PublishEvent(evMainDestroyed, 0);
  EventPublisher.Unsubscribe(First);
  PublishEvent(evMainDestroyed, 0);
  EXPECT_EQ(calls, (std::vector<std::string>{"first 6 0 d"}));
}

}  // namespace
