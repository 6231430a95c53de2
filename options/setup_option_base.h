// The setup options: choices a previous installation was made with, read back from the
// machine and handed to the product's installer as properties of a quick install.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "options/setup_option_environment.h"
#include "packages/product_record.h"

namespace setup {

class SetupOptionBase {
 public:
  virtual ~SetupOptionBase() = default;
  SetupOptionBase(const SetupOptionBase&) = delete;
  SetupOptionBase& operator=(const SetupOptionBase&) = delete;

  // A new, unbound option of the same class with its default value.
  virtual std::unique_ptr<SetupOptionBase> Clone() const = 0;
  // Reads the choice the installation was made with. Reads only; changes nothing.
  virtual void Load(const ProductRecord& installed) = 0;
  // The property value; none when no property is written.
  virtual std::optional<std::wstring> Value() const = 0;
  virtual bool IsGroup() const { return false; }
  virtual std::wstring PropertyName(const ProductRecord& record) const;

  // The record's product id is one of the option's ids, compared exactly.
  bool Applies(const ProductRecord& record) const;
  void Bind(const ProductRecord& installation) { boundInstallation_ = installation; }
  // The installation the option was loaded from; none for a prototype.
  const std::optional<ProductRecord>& BoundInstallation() const { return boundInstallation_; }

 protected:
  SetupOptionBase(SetupOptionEnvironment& environment, std::wstring propertyName,
                  std::span<const std::wstring_view> applicableIds)
      : environment_(&environment), propertyName_(std::move(propertyName)), applicableIds_(applicableIds) {}

  SetupOptionEnvironment& Environment() const { return *environment_; }

 private:
  SetupOptionEnvironment* environment_;
  std::wstring propertyName_;
  std::span<const std::wstring_view> applicableIds_;
  std::optional<ProductRecord> boundInstallation_;
};

// Several properties under one option; the option itself has no value.
class SetupOptionGroupBase : public SetupOptionBase {
 public:
  bool IsGroup() const final { return true; }
  std::optional<std::wstring> Value() const final { return std::nullopt; }
  virtual std::vector<std::wstring> SubPropertyNames() const = 0;
  // The value of one of the sub-properties; none for another name or when not written.
  virtual std::optional<std::wstring> SubValue(std::wstring_view name) const = 0;

 protected:
  using SetupOptionBase::SetupOptionBase;
};

// An option whose property name depends on the product it is bound to.
class SetupMultiNameOptionBase : public SetupOptionBase {
 public:
  std::wstring PropertyName(const ProductRecord& record) const override = 0;

 protected:
  using SetupOptionBase::SetupOptionBase;
};

// Gives an option class its Clone: a new, unbound object of that class with its defaults.
template <class Option, class Base = SetupOptionBase>
class ClonableSetupOption : public Base {
 public:
  std::unique_ptr<SetupOptionBase> Clone() const final { return std::make_unique<Option>(this->Environment()); }

 protected:
  using Base::Base;
};

// How a 32-bit installation's keys are opened: with the 32-bit view asked for explicitly, or
// in the default view (for the 32-bit launcher also the 32-bit view).
enum class ThirtyTwoBitView { Explicit, Default };

// The view an installation's keys are read in: the 64-bit view for a 64-bit installation;
// otherwise the 32-bit view as `thirtyTwoBitView` asks for it.
std::uint32_t InstallationRegistryView(const ProductRecord& installed, ThirtyTwoBitView thirtyTwoBitView);

}  // namespace setup
