#include "hosted_control.h"

namespace parcelon {
namespace {

constexpr std::uint64_t kFileTimeTicksPerSecond = 10'000'000;

}  // namespace

HostedControl::HostedControl(platform::Machine& machine,
                             std::unique_ptr<platform::Machine> ownedMachine,
                             const ParcelonHost& host)
    : m_ownedMachine(std::move(ownedMachine)),
      m_host(host),
      m_random(makeRandomSource(machine)),
      m_control(std::make_unique<ParcelonCtrl>(machine.files(), *m_random, ArchiveLimits{},
                                               machine.threads())) {
  if (m_host.showAboutBox != nullptr) {
    m_control->setAboutBoxHandler([this](const AboutBoxText& about) {
      m_host.showAboutBox(m_host.context, about.title.c_str(), about.text.c_str(),
                          about.button.c_str());
    });
  }
}

std::unique_ptr<RandomSource> HostedControl::makeRandomSource(platform::Machine& machine) {
  if (m_host.random != nullptr) {
    return std::make_unique<FunctionRandomSource>([this] { return m_host.random(m_host.context); });
  }
  platform::Clock& clock = machine.clock();
  return std::make_unique<SeededRandomSource>(
      [&clock] { return clock.now() / kFileTimeTicksPerSecond; });
}

DispatchOutcome HostedControl::invoke(std::int32_t dispatchId,
                                      std::span<const ParcelonVariant> arguments) {
  // NOTE: a Status sink that called Close or OpenZip would free the reader or writer the
  // running method still uses.
  if (m_running) return DispatchOutcome{PARCELON_RPC_E_CALL_REJECTED, {}, {}};
  m_running = true;
  struct Done {
    bool& running;
    ~Done() { running = false; }
  } done{m_running};
  return dispatch(*m_control, dispatchId, arguments);
}

bool HostedControl::advise(ParcelonStatusSink sink, void* context) {
  if (m_running) return false;
  if (sink == nullptr) {
    m_control->setStatusSink(nullptr);
    return true;
  }
  m_control->setStatusSink([sink, context](const std::string& name, std::int32_t progress) {
    sink(context, name.c_str(), static_cast<std::uint32_t>(name.size()), progress);
  });
  return true;
}

}  // namespace parcelon
