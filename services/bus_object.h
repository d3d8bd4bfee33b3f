#pragma once
// What every method adaptor of the service shares: the context and the domain object it calls,
// and the one way a bus method becomes a domain call (reply) and a reply again.
//
// A domain member takes its inputs first and its outputs last, through pointers. `reply` passes
// the given arguments and a fresh value for every parameter left over, and hands back the
// result code alone when there is nothing to give back, else {result, values...}: an InOut
// argument's value first (in parameter order), then the outputs; an output object becomes its
// path on the bus (BusContext::pathOf), after the call. A domain exception becomes a result code
// (BusContext::call); the values are then whatever the member left in them.
//
// Thread affinity: the service thread, like the connection. Put an adaptor on the bus with
// PutOnBus; it is registered once fully built and unregistered before any of it goes.

#include "platform/hresult.h"
#include "services/bus_context.h"

#include <sdbus-c++/sdbus-c++.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <tuple>
#include <type_traits>
#include <utility>

namespace services {

// An in/out argument: the member gets a pointer to a copy of `value`, the reply its final value.
template <typename T> struct InOut
{
    T value;
};

namespace detail {

template <typename T> inline constexpr bool kIsInOut = false;
template <typename T> inline constexpr bool kIsInOut<InOut<T>> = true;

template <typename T> inline constexpr bool kIsObject = false;
template <typename T> inline constexpr bool kIsObject<std::shared_ptr<T>> = true;

// The values the parameters from `Skip` on point to, default-initialised.
template <std::size_t Skip, typename Params, std::size_t... I>
auto TrailingOuts(std::index_sequence<I...>)
    -> std::tuple<std::remove_pointer_t<std::tuple_element_t<Skip + I, Params>>...>;

} // namespace detail

template <typename DomainType, typename... Adaptors>
class BusObject : public sdbus::AdaptorInterfaces<Adaptors...>
{
public:
    using Domain = DomainType;

    BusObject(BusContext &context, std::string path, std::shared_ptr<Domain> object)
        : sdbus::AdaptorInterfaces<Adaptors...>(context.connection(), std::move(path)),
          m_context(context), m_object(std::move(object))
    {}

protected:
    template <typename Class, typename... Params, typename... Args>
    auto reply(HRESULT (Class::*member)(Params...), Args &&...args)
    {
        static_assert(std::is_base_of_v<Class, Domain>);
        static_assert(sizeof...(Args) <= sizeof...(Params));
        using Outs = decltype(detail::TrailingOuts<sizeof...(Args), std::tuple<Params...>>(
            std::make_index_sequence<sizeof...(Params) - sizeof...(Args)>{}));
        Outs outs{};
        const HRESULT hr = m_context.call(this->getObject(), [&] {
            return std::apply(
                [&](auto &...out) { return ((*m_object).*member)(argument(args)..., &out...); },
                outs);
        });
        auto values = std::tuple_cat(given(args)..., std::move(outs));
        if constexpr (std::tuple_size_v<decltype(values)> == 0)
            return std::int32_t{hr};
        else
            return std::apply(
                [&](auto &...value) {
                    return std::tuple{std::int32_t{hr}, onBus(value)...};
                },
                values);
    }

    [[nodiscard]] BusContext &context() { return m_context; }
    [[nodiscard]] const std::shared_ptr<Domain> &domain() const { return m_object; }

private:
    template <typename A> static decltype(auto) argument(A &arg)
    {
        if constexpr (detail::kIsInOut<std::remove_cv_t<A>>)
            return &arg.value;
        else
            return (arg);
    }
    template <typename A> static auto given(A &arg)
    {
        if constexpr (detail::kIsInOut<std::remove_cv_t<A>>)
            return std::tuple{arg.value};
        else
            return std::tuple<>{};
    }
    template <typename T> auto onBus(T &value)
    {
        if constexpr (detail::kIsObject<T>)
            return m_context.pathOf(value);
        else
            return std::move(value);
    }

    BusContext &m_context;
    std::shared_ptr<Domain> m_object;
};

// The adaptor as the bus sees it: registered after it is fully built, unregistered first.
template <typename Adaptor> class OnBus final : public Adaptor
{
public:
    template <typename... Args>
    explicit OnBus(Args &&...args) : Adaptor(std::forward<Args>(args)...)
    {
        this->registerAdaptor();
    }
    ~OnBus() { this->unregisterAdaptor(); }
    OnBus(const OnBus &) = delete;
    OnBus &operator=(const OnBus &) = delete;
};

template <typename Adaptor, typename... Args>
std::shared_ptr<OnBus<Adaptor>> PutOnBus(Args &&...args)
{
    return std::make_shared<OnBus<Adaptor>>(std::forward<Args>(args)...);
}

// An object that only emits the signals of its interfaces.
template <typename... Adaptors> using SignalEmitter = OnBus<sdbus::AdaptorInterfaces<Adaptors...>>;

// The maker (declared in bus_objects.h) of a kind whose adaptor needs nothing but the object.
#define ORVEX_PUT_ON_BUS(Kind, Adaptor)                                                            \
    std::shared_ptr<void> MakeBusObject(BusContext &context, const std::string &path,              \
                                        std::shared_ptr<Kind> object)                              \
    {                                                                                              \
        return PutOnBus<Adaptor>(context, path, std::move(object));                                \
    }

} // namespace services
