// The DDE layer between two processes: this test program is the client, a second small program the server
// (service "KivoPeer", topic "Values"; see ddepeer/). DDE tests run one at a time (a named lock) and let the
// messages of each transaction arrive before going on. Pokes and executes go through conversations of their
// own, as another client's would: some DDEML implementations keep a completed asynchronous transaction at the
// head of its conversation's queue, where it takes the acknowledgements of later synchronous ones.

#include "framework/window/DdeConversation.h"
#include "framework/window/DdeServerTopic.h"
#include "framework/window/TraceMessage.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/PumpMessages.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

// Collects the lines of the framework's trace while it lives.
class TraceCapture {
public:
    TraceCapture() : file_(std::tmpfile()), trace_(std::make_unique<TraceScope>(true, file_)) {}
    ~TraceCapture()
    {
        trace_.reset();
        std::fclose(file_);
    }
    std::vector<std::string> Lines() const
    {
        std::vector<std::string> lines;
        std::fflush(file_);
        std::rewind(file_);
        char line[256];
        while (std::fgets(line, sizeof line, file_)) {
            std::string text(line);
            while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
                text.pop_back();
            lines.push_back(text);
        }
        return lines;
    }

private:
    std::FILE* file_;
    std::unique_ptr<TraceScope> trace_;
};

// Lets the DDE messages of a transaction arrive.
void Settle()
{
    PumpMessagesFor(20);
}

std::string TextOf(HDDEDATA data)
{
    char text[128] = {};
    DdeGetData(data, reinterpret_cast<LPBYTE>(text), sizeof text - 1, 0);
    return text;
}

class RecordingRequest : public DdeRequest {
public:
    RecordingRequest(DdeConversation* conversation, const char* item, std::string& answer, bool& deleted)
        : DdeRequest(conversation, item, ClipboardFormat::Text, 0), answer_(answer), deleted_(deleted)
    {
    }
    ~RecordingRequest() override { deleted_ = true; }
    uintptr_t OnComplete(const DdeTransactionInfo& info) override
    {
        answer_.assign(reinterpret_cast<const char*>(info.bytes), info.byteCount);
        answer_ = answer_.c_str();
        return 0;
    }

private:
    std::string& answer_;
    bool& deleted_;
};

class RecordingAdvise : public DdeAdvise {
public:
    RecordingAdvise(DdeConversation* conversation, const char* item)
        : DdeAdvise(conversation, item, ClipboardFormat::Text)
    {
    }
    uintptr_t OnAdvise(const DdeTransactionInfo& info) override
    {
        values.emplace_back(reinterpret_cast<const char*>(info.bytes));
        return DDE_FACK;
    }
    std::vector<std::string> values;
};

class DdeBetweenProcesses : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string commandLine = std::string("\"") + KIVO_DDE_PEER + "\"";
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        ASSERT_TRUE(CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                   &peer));
        PumpMessagesUntilEvery(
            100,
            [this] {
                conversation = std::make_unique<DdeConversation>(&client, "KivoPeer", "Values");
                return conversation->IsConnected();
            },
            60000);
        ASSERT_TRUE(conversation->IsConnected()) << "The DDE peer did not start serving";
        other = std::make_unique<DdeConversation>(&otherClient, "KivoPeer", "Values");
        ASSERT_TRUE(other->IsConnected());
    }
    void TearDown() override
    {
        conversation.reset();
        if (other && other->IsConnected()) {
            const char quit[] = "[quit]";
            DdeClientTransaction(reinterpret_cast<LPBYTE>(const_cast<char*>(quit)), sizeof quit, other->Handle(),
                                 nullptr, CF_TEXT, XTYP_EXECUTE, 5000, nullptr);
        }
        other.reset();
        if (peer.hProcess) {
            if (WaitForSingleObject(peer.hProcess, 10000) != WAIT_OBJECT_0)
                TerminateProcess(peer.hProcess, 1);
            CloseHandle(peer.hThread);
            CloseHandle(peer.hProcess);
        }
    }

    // A synchronous poke of a text, as another client would make it; true when the server took it.
    bool Poke(const char* item, const char* text)
    {
        HSZ handle = DdeCreateStringHandleA(otherClient.InstanceId(), item, CP_WINANSI);
        const HDDEDATA taken =
            DdeClientTransaction(reinterpret_cast<LPBYTE>(const_cast<char*>(text)), DWORD(strlen(text) + 1),
                                 other->Handle(), handle, CF_TEXT, XTYP_POKE, 5000, nullptr);
        DdeFreeStringHandle(otherClient.InstanceId(), handle);
        Settle();
        return taken != nullptr;
    }

    DdeTestLock lock;
    PROCESS_INFORMATION peer{};
    DdeClient client;
    DdeClient otherClient; // another program's client, for pokes and executes
    std::unique_ptr<DdeConversation> conversation;
    std::unique_ptr<DdeConversation> other;
};

TEST_F(DdeBetweenProcesses, TopicsConnectByExactNameAndWildcardsAreRefused)
{
    TraceCapture trace;
    DdeConversation otherCase(&client, "KivoPeer", "values");
    EXPECT_FALSE(otherCase.IsConnected());
    EXPECT_EQ(DdeConnect(client.InstanceId(), nullptr, nullptr, nullptr), nullptr);
    HSZ service = DdeCreateStringHandleA(client.InstanceId(), "KivoPeer", CP_WINANSI);
    EXPECT_EQ(DdeConnect(client.InstanceId(), service, nullptr, nullptr), nullptr);
    DdeFreeStringHandle(client.InstanceId(), service);
    // The detail is what the library gives as its last error.
    ASSERT_EQ(trace.Lines().size(), 1u);
    EXPECT_EQ(trace.Lines()[0].rfind("Unable to create DDE conversation ", 0), 0u);
}

TEST_F(DdeBetweenProcesses, SynchronousRequestStoresThePayload)
{
    DdeRequest waiting(conversation.get(), "alpha", ClipboardFormat::Text, 5);
    ASSERT_NE(waiting.Payload(), nullptr);
    EXPECT_EQ(TextOf(waiting.Payload()), "value of alpha");
    DdeFreeDataHandle(waiting.Payload());
}

TEST_F(DdeBetweenProcesses, AsynchronousRequestReturnsAtOnceAndDeletesItselfWhenComplete)
{
    std::string answer;
    bool deleted = false;
    new RecordingRequest(conversation.get(), "beta", answer, deleted);
    EXPECT_FALSE(deleted);
    EXPECT_TRUE(PumpMessagesUntil([&] { return deleted; }, 10000));
    EXPECT_EQ(answer, "value of beta");

    // A completion that finds no object in its user value is reported.
    TraceCapture trace;
    HSZ item = DdeCreateStringHandleA(otherClient.InstanceId(), "gamma", CP_WINANSI);
    DWORD number = 0;
    ASSERT_TRUE(DdeClientTransaction(nullptr, 0, other->Handle(), item, CF_TEXT, XTYP_REQUEST, TIMEOUT_ASYNC, &number));
    EXPECT_TRUE(PumpMessagesUntil([&] { return !trace.Lines().empty(); }, 10000));
    DdeFreeStringHandle(otherClient.InstanceId(), item);
    EXPECT_EQ(trace.Lines(), std::vector<std::string>{"Callback for unknown transaction received"});
}

TEST_F(DdeBetweenProcesses, AdviseLoopDeliversEveryNewValue)
{
    auto advise = std::make_unique<RecordingAdvise>(conversation.get(), "delta");
    Settle();
    ASSERT_TRUE(PumpMessagesUntil([&] { return Poke("delta", "1"); }, 10000));
    EXPECT_TRUE(PumpMessagesUntil([&] { return advise->values.size() == 1; }, 10000));
    EXPECT_TRUE(Poke("delta", "2"));
    EXPECT_TRUE(PumpMessagesUntil([&] { return advise->values.size() == 2; }, 10000));
    EXPECT_EQ(advise->values, (std::vector<std::string>{"1", "2"}));
}

TEST_F(DdeBetweenProcesses, AdviseDataWithoutItsAdviseIsReportedAndRefused)
{
    HSZ item = DdeCreateStringHandleA(client.InstanceId(), "epsilon", CP_WINANSI);
    ASSERT_TRUE(DdeClientTransaction(nullptr, 0, conversation->Handle(), item, CF_TEXT, XTYP_ADVSTART, 5000, nullptr));
    TraceCapture trace;
    EXPECT_TRUE(Poke("epsilon", "9"));
    EXPECT_TRUE(PumpMessagesUntil([&] { return !trace.Lines().empty(); }, 10000));
    EXPECT_EQ(trace.Lines(), std::vector<std::string>{"Advise for unknown transaction received"});
    DdeClientTransaction(nullptr, 0, conversation->Handle(), item, CF_TEXT, XTYP_ADVSTOP, 5000, nullptr);
    DdeFreeStringHandle(client.InstanceId(), item);
}

TEST(DdeLayer, TransactionsWithoutAConversationAreReported)
{
    TraceCapture trace;
    DdeRequest request(nullptr, "x", ClipboardFormat::Text, 0);
    DdeAdvise advise(nullptr, "x", ClipboardFormat::Text);
    const std::string null = "Null connection, unable to start Transaction";
    EXPECT_EQ(trace.Lines(), (std::vector<std::string>{null, null, null, null}));
}

TEST(DdeLayer, InfoNamesItemsAndMakesTextPayloads)
{
    DdeTestLock lock;
    DdeServer server("KivoTestSide");
    ASSERT_EQ(server.InitResult(), 0u);
    DdeTransactionInfo info;
    EXPECT_STREQ(info.ItemName().Text(), "");
    info.item = DdeCreateStringHandleA(DdeServer::ServerInstance(), "Item_7", CP_WINANSI);
    EXPECT_STREQ(info.ItemName().Text(), "Item_7");
    HDDEDATA payload = info.MakeTextHandle("abc");
    EXPECT_EQ(DdeGetData(payload, nullptr, 0, 0), 4u);
    EXPECT_EQ(info.MakeTextHandle(nullptr), nullptr);
    DdeFreeDataHandle(payload);
    DdeFreeStringHandle(DdeServer::ServerInstance(), info.item);
}

} // namespace
