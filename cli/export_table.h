// The one table of the module's exports as the CLI calls them: every
// parameter's name and kind, and a typed adapter built from the public
// header's declaration, so a row that disagrees with the header fails to
// compile and adding an export is adding a row.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <utility>

#include "cli/call_arguments.h"

namespace prcfg {

inline constexpr std::size_t kMaxParams = 8;

// A typed call of the symbol `dlsym` gave; the return value widened, or
// nothing for a void export.
using Invoker = std::optional<long long> (*)(void* symbol, CallArguments& args);

struct ExportRow {
  std::string_view name;
  std::array<Param, kMaxParams> params{};
  std::size_t paramCount = 0;
  Invoker invoke = nullptr;

  std::span<const Param> Params() const { return {params.data(), paramCount}; }
  bool TakesQueueName() const;
};

template <typename Fn>
struct Signature;

template <typename R, typename... P>
struct Signature<R(P...)> {
  static constexpr std::size_t kArity = sizeof...(P);

  template <std::size_t I>
  using Param = std::tuple_element_t<I, std::tuple<P...>>;

  static std::optional<long long> Invoke(void* symbol, CallArguments& args) {
    auto* function = reinterpret_cast<R (*)(P...)>(symbol);
    return [&]<std::size_t... I>(std::index_sequence<I...>)->std::optional<long long> {
      if constexpr (std::is_void_v<R>) {
        function(args.Pass<P>(I)...);
        return std::nullopt;
      } else {
        return static_cast<long long>(function(args.Pass<P>(I)...));
      }
    }
    (std::index_sequence_for<P...>{});
  }
};

// Which C types each kind of parameter may have in the header.
template <typename T>
constexpr bool KindFits(ParamKind kind) {
  switch (kind) {
    case ParamKind::kInText:
    case ParamKind::kQueueName:
    case ParamKind::kBoxFile:
      return std::is_same_v<T, const char*>;
    case ParamKind::kInInteger:
      return std::is_same_v<T, int> || std::is_same_v<T, unsigned int>;
    case ParamKind::kOutText:
    case ParamKind::kInOutText:
      return std::is_same_v<T, char*>;
    case ParamKind::kOutIntegers:
    case ParamKind::kInOutInteger:
      return std::is_same_v<T, int*> || std::is_same_v<T, unsigned int*>;
    case ParamKind::kQueueHandle:
    case ParamKind::kOpaque:
      return std::is_same_v<T, void*>;
    case ParamKind::kOutBoxList:
      return std::is_same_v<T, Vx5BoxRecord**>;
    case ParamKind::kOutAllocatedText:
      return std::is_same_v<T, char**>;
  }
  return false;
}

// Throwing inside a consteval function stops the build: the row and the
// header's declaration must agree in count and in every parameter's type.
template <typename Fn>
consteval ExportRow MakeRow(std::string_view name, std::initializer_list<Param> params) {
  using Sig = Signature<Fn>;
  if (params.size() != Sig::kArity || params.size() > kMaxParams) {
    throw "the row's parameter count differs from the header's declaration";
  }
  ExportRow row{.name = name, .paramCount = params.size(), .invoke = &Sig::Invoke};
  std::size_t index = 0;
  for (const Param& param : params) row.params[index++] = param;
  const bool fits = [&]<std::size_t... I>(std::index_sequence<I...>) {
    return (KindFits<typename Sig::template Param<I>>(row.params[I].kind) && ...);
  }
  (std::make_index_sequence<Sig::kArity>{});
  if (!fits) throw "a parameter's kind does not fit its type in the header";
  return row;
}

// Every export, in the order of exports/exports.list.
std::span<const ExportRow> Exports();
const ExportRow* FindExport(std::string_view name);

}  // namespace prcfg
