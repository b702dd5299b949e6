// The simulated module's network side: Modbus TCP on this machine's
// loopback, bridged to the simulated RS-485 line (fieldline.*). Framed by
// hand (the MBAP header), independently of gateway-cli's Qt SerialBus.
//
// Server mode: listens on 127.0.0.1 at port_tcp (or --tcp-listen) and
// answers each request from the line, one transaction on the line at a
// time, whichever connection it came from. Client mode: connects to
// 127.0.0.1 at port_tcp (or --tcp-server), standing for ip_server_tcp, again
// every few seconds when refused or dropped, and forwards what the
// simulated RTU master on the line asks. It never listens on or connects to
// an address outside 127.0.0.0/8. start() takes the module's settings as
// they stand: the terminal loop calls it when the module comes up and again
// after each restart, and stop() when it goes down.
#pragma once

#include "fieldline.h"
#include "gatewaymodule.h"

#include <chrono>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include <poll.h>

struct NetConfig {
    bool enabled = false; // --tcp, or any option below
    std::string listenHost = "127.0.0.1";
    int listenPort = -1; // --tcp-listen HOST[:PORT]; -1: port_tcp (0: one the system picks)
    std::string serverHost = "127.0.0.1";
    int serverPort = -1; // --tcp-server HOST[:PORT]; -1: port_tcp
    FieldLine line;      // --field UNIT@SPEED/PARITY/STOP
    // --rtu-master KIND:ADDRESS:COUNT@MS: what the RTU master on the line
    // asks, and how often (client mode).
    unsigned char masterFunction = 0x03;
    int masterAddress = 0;
    int masterCount = 2;
    int masterIntervalMs = 1000;
    bool refuse = false; // --tcp-refuse: the port bound, nothing listening
    bool stall = false;  // --tcp-stall: accept, never answer
    int dropAfter = 0;   // --tcp-drop-after N: close a connection after N replies
    int retryMs = 2000;  // client mode: the next attempt
};

// Whether HOST is an IPv4 address in 127.0.0.0/8.
bool isLoopback(const std::string &host);
// HOST[:PORT] with HOST in 127.0.0.0/8; PORT (0-65535) stays -1 when not
// given. False with `fault` set.
bool parseLoopbackAddress(const std::string &text, std::string *host, int *port, std::string *fault);
// --rtu-master KIND:ADDRESS:COUNT@MS; false with `fault` set.
bool parseRtuMaster(const std::string &text, NetConfig *config, std::string *fault);

class NetBridge
{
public:
    using Clock = std::chrono::steady_clock;
    using Log = std::function<void(const std::string &)>;

    NetBridge(const NetConfig &config, const GatewayModule &module, Log log);
    ~NetBridge();
    NetBridge(const NetBridge &) = delete;
    NetBridge &operator=(const NetBridge &) = delete;

    void start();
    void stop();

    // The descriptors to watch, appended to `fds`; then what poll() found.
    void addPollFds(std::vector<pollfd> &fds) const;
    void handle(const std::vector<pollfd> &fds);
    // The next moment something is due (a reply, an attempt, a request of
    // the master); false when nothing is.
    bool deadline(Clock::time_point *when) const;
    // Does what is due.
    void tick();

private:
    struct Connection {
        int fd = -1;
        long id = 0;
        std::string peer;
        std::string in;
        std::string out;
        int replied = 0;
    };
    struct Due {
        Clock::time_point at;
        long connection = 0;
        std::string frame;
        std::string what;
    };

    void startServer();
    void startClient();
    void attemptConnect();
    void accept();
    void readConnection(Connection &c);
    void requestFrom(Connection &c, unsigned tid, int unit, const std::string &pdu);
    void send(Connection &c, const std::string &bytes);
    void close(Connection &c, const std::string &why);
    void readAsClient();
    void closeClient(const std::string &why);
    void masterAsks();
    FieldLine::Settings lineSettings() const;
    int portTcp() const;

    const NetConfig &cfg;
    const GatewayModule &module;
    Log log;
    bool running = false;
    bool clientMode = false;

    int listenFd = -1;
    std::vector<Connection> connections;
    long nextId = 1;
    std::deque<Due> due;
    Clock::time_point lineFree;

    // Client mode: one connection to the server.
    int clientFd = -1;
    bool connecting = false;
    bool connected = false;
    std::string clientPeer;
    std::string clientIn;
    Clock::time_point nextAttempt;
    Clock::time_point nextMasterRequest;
    bool masterWaiting = false;
    unsigned masterTid = 0;
    Clock::time_point masterGivesUp;
};
