#pragma once
// The product as `covernote serve` runs it: one open back end and one settings store shared
// by every session, and for each logged-in administrator a screen of his own (components
// with his identity, the page logic, the shell, the dialog pages).

#include <filesystem>
#include <memory>

#include "components/shared_backend.h"
#include "web/session.h"

namespace cn::app {

struct ServedProduct;

struct ProductPaths {
  std::filesystem::path database;  // empty: the user's default database (created when missing)
  std::filesystem::path settings;  // empty: the user's default settings file (created when missing)
};

// Reads the settings and opens the back end, its saves' endorsements worded from them. Throws
// RuntimeFailure when either cannot be used, or when no endorsement could be made (its font
// is missing).
std::shared_ptr<const ServedProduct> OpenProduct(const ProductPaths& paths);

// The back end of an opened product, for the user directory.
std::shared_ptr<components::SharedBackend> ProductBackend(const ServedProduct& product);

// Each session's screen. A session's selection files go to a folder of its own under the
// installation path ("Sessions/<n>"), removed when the session ends, so that two
// administrators searching at the same time never see each other's lists.
web::ScreenFactory SessionScreens(std::shared_ptr<const ServedProduct> product,
                                  std::filesystem::path pages);

}  // namespace cn::app
