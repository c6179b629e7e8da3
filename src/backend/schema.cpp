#include "backend/schema.h"

#include <array>

namespace cn::backend {
namespace {

// Code lists, configuration and people.
constexpr std::string_view kReferenceTables = R"sql(
CREATE TABLE system_code (
  code        INTEGER PRIMARY KEY,
  value       TEXT NOT NULL,
  description TEXT NOT NULL DEFAULT ''
);
CREATE TABLE system_parameter (
  code        INTEGER PRIMARY KEY,
  description TEXT NOT NULL,
  value       TEXT NOT NULL
);
CREATE TABLE state (
  code TEXT PRIMARY KEY,
  name TEXT NOT NULL
);
CREATE TABLE town (
  code       TEXT PRIMARY KEY,
  name       TEXT NOT NULL,
  state_code TEXT NOT NULL REFERENCES state(code)
);
CREATE TABLE postcode (
  postcode  TEXT PRIMARY KEY CHECK (length(postcode) = 5),
  town_code TEXT NOT NULL REFERENCES town(code)
);
CREATE TABLE vehicle_make (
  code TEXT PRIMARY KEY,
  name TEXT NOT NULL
);
CREATE TABLE body_type (
  code TEXT PRIMARY KEY,
  name TEXT NOT NULL
);
CREATE TABLE unit_of_measure (
  code        TEXT PRIMARY KEY,
  description TEXT NOT NULL
);
CREATE TABLE vehicle_model (
  code        TEXT PRIMARY KEY,
  make_code   TEXT NOT NULL REFERENCES vehicle_make(code),
  description TEXT NOT NULL,
  capacity    INTEGER NOT NULL,          -- ten-thousandths, like every amount
  uom_code    TEXT NOT NULL REFERENCES unit_of_measure(code),
  body        TEXT NOT NULL,
  seating     INTEGER NOT NULL
);
-- kind 0 private, 1 commercial, 2 motorcycle
CREATE TABLE motor_class (
  code            TEXT PRIMARY KEY,
  kind            INTEGER NOT NULL CHECK (kind IN (0, 1, 2)),
  seq             INTEGER NOT NULL,
  description     TEXT NOT NULL,
  min_sum_insured INTEGER NOT NULL,
  tariff_group    TEXT NOT NULL,
  default_uom     TEXT NOT NULL REFERENCES unit_of_measure(code),
  max_seating     INTEGER NOT NULL
);
CREATE TABLE class_use (
  class_code  TEXT NOT NULL REFERENCES motor_class(code),
  seq         INTEGER NOT NULL,
  code        TEXT NOT NULL,
  description TEXT NOT NULL,
  usage_group TEXT NOT NULL,
  carries_goods TEXT NOT NULL,
  PRIMARY KEY (class_code, code)
);
CREATE TABLE class_unit (
  class_code TEXT NOT NULL REFERENCES motor_class(code),
  uom_code   TEXT NOT NULL REFERENCES unit_of_measure(code),
  seq        INTEGER NOT NULL,
  PRIMARY KEY (class_code, uom_code)
);
-- scope: 1 comprehensive, 2 third party fire and theft, 3 third party only
CREATE TABLE motor_cover (
  code        TEXT PRIMARY KEY,
  description TEXT NOT NULL,
  scope       INTEGER NOT NULL
);
CREATE TABLE extended_cover (
  code        TEXT PRIMARY KEY,
  description TEXT NOT NULL
);
CREATE TABLE extended_cover_detail (
  class_code      TEXT NOT NULL REFERENCES motor_class(code),
  cover_code      TEXT NOT NULL REFERENCES motor_cover(code),
  ext_code        TEXT NOT NULL REFERENCES extended_cover(code),
  seq             INTEGER NOT NULL,
  percentage      INTEGER NOT NULL,
  default_premium INTEGER NOT NULL,
  min_premium     INTEGER NOT NULL,
  method          TEXT NOT NULL,
  PRIMARY KEY (class_code, cover_code, ext_code)
);
CREATE TABLE ncd_scale (
  class_code TEXT NOT NULL REFERENCES motor_class(code),
  years      TEXT NOT NULL,
  percentage INTEGER NOT NULL,
  PRIMARY KEY (class_code, years)
);
CREATE TABLE occupation (            -- named drivers' occupations
  code TEXT PRIMARY KEY,
  name TEXT NOT NULL
);
CREATE TABLE insured_occupation (
  code TEXT PRIMARY KEY,
  name TEXT NOT NULL
);
CREATE TABLE nationality (
  code TEXT PRIMARY KEY,
  name TEXT NOT NULL
);
CREATE TABLE business_nature (
  code TEXT PRIMARY KEY,
  name TEXT NOT NULL
);
CREATE TABLE insurer (
  code TEXT PRIMARY KEY,
  name TEXT NOT NULL
);
CREATE TABLE mortgagee (
  code TEXT PRIMARY KEY,
  name TEXT NOT NULL
);
CREATE TABLE security_device (
  code TEXT PRIMARY KEY,
  name TEXT NOT NULL
);
CREATE TABLE tariff_region (
  code TEXT PRIMARY KEY,
  name TEXT NOT NULL
);
CREATE TABLE agent (
  code          TEXT PRIMARY KEY,
  name          TEXT NOT NULL,
  agent_type    TEXT NOT NULL,
  tariff_region TEXT NOT NULL REFERENCES tariff_region(code),
  head_office   INTEGER NOT NULL DEFAULT 0  -- may work on every agent's cover notes
);
CREATE TABLE app_user (
  user_id         TEXT PRIMARY KEY,
  name            TEXT NOT NULL,
  agent_code      TEXT REFERENCES agent(code),
  authority_level INTEGER NOT NULL DEFAULT 1,
  password_hash   TEXT                     -- set by the web login; NULL until then
);
)sql";

// Clients, previous policies and cover notes with their rows.
constexpr std::string_view kDocumentTables = R"sql(
CREATE TABLE client (
  id                       INTEGER PRIMARY KEY,
  code                     TEXT NOT NULL UNIQUE,
  version                  INTEGER NOT NULL DEFAULT 1,
  client_type              TEXT NOT NULL CHECK (client_type IN ('P', 'C')),
  name                     TEXT NOT NULL,
  old_nric                 TEXT,
  nric                     TEXT,
  business_registration_no TEXT,
  gender                   TEXT,
  date_of_birth            TEXT,
  marital_status           TEXT,
  nationality              TEXT,
  address                  TEXT,
  town                     TEXT,
  postal_code              TEXT,
  state_code               TEXT,
  new_address              TEXT NOT NULL DEFAULT '0',
  house_tel                TEXT,
  biz_tel                  TEXT,
  mobile_tel               TEXT,
  email                    TEXT
);
CREATE TABLE policy (
  id                       INTEGER PRIMARY KEY,
  policy_no                TEXT NOT NULL UNIQUE,
  agent_code               TEXT NOT NULL REFERENCES agent(code),
  status                   TEXT NOT NULL,
  client_code              TEXT REFERENCES client(code),
  client_name              TEXT, address TEXT, postal_code TEXT, town TEXT, state_code TEXT,
  client_type              TEXT, nric TEXT, old_nric TEXT, driving_license_no TEXT,
  house_tel                TEXT, biz_tel TEXT, email TEXT, business_registration_no TEXT,
  motor_cover_code         TEXT,
  service_tax_percentage   INTEGER, service_tax_amount INTEGER, stamp_duty INTEGER,
  total_premium            INTEGER,
  vehicle_no               TEXT, trailer_no TEXT, class_code TEXT,
  effective_date           TEXT, expiry_date TEXT,
  mortgagee_code           TEXT, mortgagee TEXT,
  class_list_column2       TEXT, class_list_column3 TEXT,
  vehicle_sum_insured      INTEGER, trailer_sum_insured INTEGER, total_ext_sum_insured INTEGER,
  vehicle_make_code        TEXT, model_code TEXT, model TEXT, year_made TEXT, body TEXT,
  log_book_no              TEXT, capacity INTEGER, capacity_uom TEXT, engine_no TEXT,
  chassis_no               TEXT, seating_capacity TEXT,
  premium_field46          INTEGER, premium_field47 INTEGER, tariff_premium INTEGER,
  all_rider_premium        INTEGER, load_percentage INTEGER, load_amount INTEGER,
  ncd_year                 TEXT, ncd_percentage TEXT, ncd_amount INTEGER,
  rmt_use_rate TEXT, rmt_state_rate TEXT, rmt_driver_rate TEXT, rmt_gender_rate TEXT,
  rmt_ncd_year_rate TEXT, rmt_vehicle_make_rate TEXT, rmt_capacity_rate TEXT,
  rmt_vehicle_age_rate TEXT, rmt_sum_insured_rate TEXT, rmt_rate TEXT,
  basic_premium            INTEGER, total_ext_premium INTEGER, total_sum_insured INTEGER,
  gross_premium            INTEGER, excess_amount INTEGER,
  premium_field84          TEXT,
  marital_status TEXT, garage_code TEXT, gs_lock TEXT, lock_type TEXT, safety_feature TEXT,
  driver_category_code     TEXT,
  gender TEXT, nationality TEXT, driving_license_class TEXT, color TEXT
);
CREATE TABLE policy_driver (
  policy_id  INTEGER NOT NULL REFERENCES policy(id) ON DELETE CASCADE,
  seq        INTEGER NOT NULL,
  name       TEXT NOT NULL DEFAULT '',
  ic_no      TEXT NOT NULL DEFAULT '',
  dob        TEXT NOT NULL DEFAULT '',
  occupation TEXT NOT NULL DEFAULT '',
  PRIMARY KEY (policy_id, seq)
);
CREATE TABLE policy_ext_cover (
  policy_id   INTEGER NOT NULL REFERENCES policy(id) ON DELETE CASCADE,
  seq         INTEGER NOT NULL,
  code        TEXT NOT NULL DEFAULT '',
  sum_insured TEXT NOT NULL DEFAULT '',
  percentage  TEXT NOT NULL DEFAULT '',
  premium     TEXT NOT NULL DEFAULT '',
  PRIMARY KEY (policy_id, seq)
);

-- status: I issued, C cancelled (void), M missing, U unused, R referred risk.
-- submitted_at: handed over for upload; uploaded_at: taken over by the host.
CREATE TABLE cover_note (
  id                       INTEGER PRIMARY KEY,
  cover_note_no            TEXT NOT NULL UNIQUE,
  version                  INTEGER NOT NULL DEFAULT 1,
  agent_code               TEXT NOT NULL REFERENCES agent(code),
  submitted_at             TEXT,
  uploaded_at              TEXT,
  loading_authority        INTEGER NOT NULL DEFAULT 0,
  amended_by               TEXT,
  amended_at               TEXT,
  issued_at                TEXT,
  client_name TEXT, address TEXT, postal_code TEXT, town TEXT, state_code TEXT,
  house_tel TEXT, biz_tel TEXT, client_info10 TEXT, mobile_tel TEXT, client_info12 TEXT,
  email TEXT, remark TEXT, client_type TEXT, nric TEXT, old_nric TEXT,
  driving_license_no TEXT, business_registration_no TEXT,
  motor_cover_code TEXT,
  service_tax_percentage INTEGER, service_tax_amount INTEGER, stamp_duty INTEGER,
  total_premium INTEGER,
  vehicle_no TEXT, trailer_no TEXT, class_code TEXT,
  effective_at TEXT, expiry_date TEXT,
  mortgagee_code TEXT, mortgagee TEXT,
  vehicle_sum_insured INTEGER, trailer_sum_insured INTEGER, total_ext_sum_insured INTEGER,
  vehicle_make_code TEXT, model_code TEXT, model TEXT, year_made TEXT, body TEXT,
  log_book_no TEXT, capacity INTEGER, capacity_uom TEXT, engine_no TEXT, chassis_no TEXT,
  seating_capacity TEXT,
  premium_field46 INTEGER, premium_field47 INTEGER, tariff_premium INTEGER,
  all_rider_premium INTEGER, load_percentage INTEGER, load_amount INTEGER,
  ncd_year TEXT, ncd_percentage TEXT, ncd_amount INTEGER, basic_premium INTEGER,
  total_ext_premium INTEGER, total_sum_insured INTEGER, gross_premium INTEGER,
  premium_field59 INTEGER, excess_amount INTEGER,
  status TEXT NOT NULL CHECK (status IN ('I', 'C', 'M', 'U', 'R')),
  transaction_type TEXT NOT NULL,
  previous_document_no TEXT,
  transfer_fee TEXT, premium_field70 TEXT, premium_field71 INTEGER,
  class_list_column2 TEXT, class_list_column3 TEXT,
  rmt_use_rate TEXT, rmt_state_rate TEXT, rmt_driver_rate TEXT, rmt_gender_rate TEXT,
  rmt_ncd_year_rate TEXT, rmt_vehicle_make_rate TEXT, rmt_capacity_rate TEXT,
  rmt_vehicle_age_rate TEXT, rmt_sum_insured_rate TEXT, rmt_rate TEXT,
  premium_field84 TEXT, gender TEXT, reference_date TEXT,
  premium_field87 INTEGER, alt_gross_premium INTEGER, premium_field89 INTEGER,
  commission_rate INTEGER, commission INTEGER, net_premium INTEGER,
  license_date TEXT, no_of_claims TEXT, hazard TEXT, marital_status TEXT,
  garage_code TEXT, gs_lock TEXT, lock_type TEXT, safety_feature TEXT,
  driver_category_code TEXT,
  admin_field105 TEXT, admin_field106 TEXT, admin_field107 TEXT, admin_field108 TEXT,
  admin_field109 TEXT, admin_field110 TEXT, admin_field111 TEXT, admin_field112 TEXT,
  client_code TEXT, nationality TEXT, driving_license_class TEXT, color TEXT,
  date_of_birth TEXT, class_use TEXT, ftz TEXT, extra_field1 TEXT, extra_field2 TEXT,
  admin_field126 TEXT, region TEXT, short_calculation TEXT, trailer_chassis_no TEXT,
  other_charges TEXT, trailer_np TEXT,
  has_ex_insurer INTEGER NOT NULL DEFAULT 0,
  ex_insurer_code TEXT, ex_insurer TEXT, ex_insurer_branch TEXT, ex_policy_no TEXT,
  ex_vehicle_no TEXT, ex_effective_date TEXT, ex_expiry_date TEXT, no_ncd_remarks TEXT,
  security_device TEXT, maintenance_from TEXT, maintenance_to TEXT,
  ex_ncd_code TEXT, ex_ncd_text TEXT, excess_code TEXT,
  admin_field152 TEXT, admin_field153 TEXT, extra_loading INTEGER, admin_field155 TEXT,
  otc_amount INTEGER, goods_description TEXT, mpuw TEXT, mplw TEXT,
  hr_flag TEXT, cg_flag TEXT, cp_flag TEXT,
  occupation_code TEXT, occupation_name TEXT, business_nature_code TEXT,
  business_nature_name TEXT, employer_name TEXT,
  gst_gross_premium_percentage INTEGER, gst_gross_premium_amount INTEGER,
  gst_transfer_fee_percentage INTEGER, gst_transfer_fee_amount INTEGER,
  gst_oth_charge_percentage INTEGER, gst_oth_charge_amount INTEGER,
  gst_registered TEXT, gst_reg_no TEXT, gst_vehicle_biz_use TEXT,
  town_code TEXT
);
CREATE TABLE cover_note_driver (
  cover_note_id INTEGER NOT NULL REFERENCES cover_note(id) ON DELETE CASCADE,
  seq           INTEGER NOT NULL,
  name          TEXT NOT NULL DEFAULT '',
  ic_no         TEXT NOT NULL DEFAULT '',
  dob           TEXT NOT NULL DEFAULT '',
  licence_date  TEXT NOT NULL DEFAULT '',
  licence_no    TEXT NOT NULL DEFAULT '',
  gender        TEXT NOT NULL DEFAULT '',
  occupation    TEXT NOT NULL DEFAULT '',
  relationship  TEXT NOT NULL DEFAULT '',
  PRIMARY KEY (cover_note_id, seq)
);
CREATE TABLE cover_note_ext_cover (
  cover_note_id INTEGER NOT NULL REFERENCES cover_note(id) ON DELETE CASCADE,
  seq           INTEGER NOT NULL,
  code          TEXT NOT NULL DEFAULT '',
  sum_insured   TEXT NOT NULL DEFAULT '',
  percentage    TEXT NOT NULL DEFAULT '',
  premium       TEXT NOT NULL DEFAULT '',
  PRIMARY KEY (cover_note_id, seq)
);
CREATE TABLE cover_note_claim (
  cover_note_id INTEGER NOT NULL REFERENCES cover_note(id) ON DELETE CASCADE,
  seq           INTEGER NOT NULL,
  accident_date TEXT NOT NULL DEFAULT '',
  vehicle_no    TEXT NOT NULL DEFAULT '',
  insurer       TEXT NOT NULL DEFAULT '',
  nature        TEXT NOT NULL DEFAULT '',
  amount        TEXT NOT NULL DEFAULT '',
  PRIMARY KEY (cover_note_id, seq)
);

-- Who saved which document when, and each field it changed.
CREATE TABLE amendment (
  id             INTEGER PRIMARY KEY,
  document_kind  TEXT NOT NULL CHECK (document_kind IN ('cover_note', 'client')),
  document_no    TEXT NOT NULL,
  user_id        TEXT NOT NULL,
  saved_at       TEXT NOT NULL,
  version_before INTEGER NOT NULL,
  version_after  INTEGER NOT NULL
);
CREATE TABLE amendment_change (
  amendment_id INTEGER NOT NULL REFERENCES amendment(id) ON DELETE CASCADE,
  field        TEXT NOT NULL,
  before_value TEXT NOT NULL,
  after_value  TEXT NOT NULL,
  PRIMARY KEY (amendment_id, field)
);
)sql";

// The enquiry dialogs search by vehicle and client name.
constexpr std::string_view kEnquiryIndexes = R"sql(
CREATE INDEX cover_note_vehicle ON cover_note(vehicle_no);
CREATE INDEX cover_note_client_name ON cover_note(client_name);
CREATE INDEX client_name ON client(name);
CREATE INDEX client_nric ON client(nric);
CREATE INDEX amendment_document ON amendment(document_kind, document_no);
)sql";

// The limits of the one-value checks on what an administrator types. They are
// configuration rather than sample data, so the step brings its rows with it.
// Amounts are ten-thousandths like every amount; counts, years and percentages
// are as the rule names them (percentages as amounts: 100% is 1000000).
constexpr std::string_view kFieldRuleLimits = R"sql(
CREATE TABLE field_rule_limit (
  rule        TEXT PRIMARY KEY,
  low         INTEGER NOT NULL,
  high        INTEGER NOT NULL,
  description TEXT NOT NULL
);
INSERT INTO field_rule_limit (rule, low, high, description) VALUES
  ('capacity', 100, 200000000, 'engine capacity, tonnage or power: 0.01 to 20,000'),
  ('seating_capacity', 1, 60, 'seats, the driver''s included'),
  ('vehicle_age', 0, 40, 'years from the year made to this year'),
  ('licence_age', 0, 80, 'years a driving licence date may lie back; never ahead'),
  ('accident_age', 0, 5, 'years a claim''s accident date may lie back; never ahead'),
  ('extended_sum_insured', 10000, 5000000000, 'one extended cover''s sum insured'),
  ('extended_premium', 0, 1000000000, 'one extended cover''s premium, at least its minimum'),
  ('percentage', 0, 1000000, 'loading and extended cover percentages');

-- Sum insured by kind of class (0 private, 1 commercial, 2 motorcycle) and scope
-- of cover (1 comprehensive, 2 third party fire and theft, 3 third party). Covers
-- that pay for the vehicle itself also ask for the class's own minimum.
CREATE TABLE sum_insured_limit (
  kind               INTEGER NOT NULL CHECK (kind IN (0, 1, 2)),
  scope              INTEGER NOT NULL CHECK (scope IN (1, 2, 3)),
  low                INTEGER NOT NULL,
  high               INTEGER NOT NULL,
  uses_class_minimum INTEGER NOT NULL,
  PRIMARY KEY (kind, scope)
);
INSERT INTO sum_insured_limit (kind, scope, low, high, uses_class_minimum) VALUES
  (0, 1, 0, 20000000000, 1), (0, 2, 0, 10000000000, 1), (0, 3, 0, 20000000000, 0),
  (1, 1, 0, 50000000000, 1), (1, 2, 0, 20000000000, 1), (1, 3, 0, 50000000000, 0),
  (2, 1, 0, 2000000000, 1), (2, 2, 0, 1000000000, 1), (2, 3, 0, 2000000000, 0);
)sql";

// The sample's system codes as the screen reads them: 1009 is the occupation stored for
// a named driver without one (a code the occupation list does not offer), 1069 the NCD
// relief extended cover, 1040 the trailer classes, where the trailer itself is the insured
// vehicle. A database seeded before this step is corrected; an empty one is left empty
// (every insert below selects from rows only a seeded database has).
constexpr std::string_view kSampleSystemCodes = R"sql(
UPDATE system_code SET value = '00', description = 'occupation stored for a driver without one'
  WHERE code = 1009;
UPDATE system_code SET value = '111', description = 'extended cover for NCD relief'
  WHERE code = 1069;
UPDATE system_code SET value = 'CT1', description = 'trailer classes: the trailer is the insured vehicle'
  WHERE code = 1040;

INSERT INTO extended_cover (code, description)
  SELECT '111', 'NCD RELIEF' WHERE EXISTS (SELECT 1 FROM system_code WHERE code = 1069);
INSERT INTO extended_cover_detail (class_code, cover_code, ext_code, seq, percentage,
                                   default_premium, min_premium, method)
  SELECT code, '01', '111', 8, 0, 450000, 0, 'F' FROM motor_class;

INSERT INTO motor_class (code, kind, seq, description, min_sum_insured, tariff_group,
                         default_uom, max_seating)
  SELECT 'CT1', 1, 4, 'TRAILER', 50000000, 'COMMERCIAL', 'T', 1
  WHERE EXISTS (SELECT 1 FROM motor_class WHERE code = 'CV1');
INSERT INTO class_use (class_code, seq, code, description, usage_group, carries_goods)
  SELECT 'CT1', 1, '14', 'TRAILER HAULED BY A PRIME MOVER', 'G', '1'
  WHERE EXISTS (SELECT 1 FROM motor_class WHERE code = 'CT1');
INSERT INTO class_unit (class_code, uom_code, seq)
  SELECT 'CT1', 'T', 1 WHERE EXISTS (SELECT 1 FROM motor_class WHERE code = 'CT1');
-- A trailer earns NCD and buys extensions as the other goods vehicles do.
INSERT INTO ncd_scale (class_code, years, percentage)
  SELECT 'CT1', years, percentage FROM ncd_scale WHERE class_code = 'CV1';
INSERT INTO extended_cover_detail (class_code, cover_code, ext_code, seq, percentage,
                                   default_premium, min_premium, method)
  SELECT 'CT1', cover_code, ext_code, seq, percentage, default_premium, min_premium, method
  FROM extended_cover_detail WHERE class_code = 'CV1';
)sql";

// The tariff. It is configuration rather than sample data, so the step brings its
// rows with it; amounts are written as decimals and kept in ten-thousandths like
// every amount, percentages and rates too (100% is 1000000). docs/rating.md
// tells how a premium is built from these tables and how to change a rate.
constexpr std::string_view kTariff = R"sql(
-- Current engine: the band premium of the vehicle's capacity, of which the cover
-- and tariff region take a share, plus a rate per thousand of the sum insured
-- above the first thousand. A capacity no band holds cannot be rated.
CREATE TABLE tariff_base (
  class_code        TEXT NOT NULL,
  cover_code        TEXT NOT NULL,
  region            TEXT NOT NULL,
  band_share        INTEGER NOT NULL,
  rate_per_thousand INTEGER NOT NULL,
  PRIMARY KEY (class_code, cover_code, region)
);
CREATE TABLE capacity_band (
  class_code TEXT NOT NULL,
  uom_code   TEXT NOT NULL,
  above      INTEGER NOT NULL,
  up_to      INTEGER NOT NULL,
  premium    INTEGER NOT NULL,
  PRIMARY KEY (class_code, uom_code, up_to)
);
-- A trailer hauled by the vehicle: its band premium plus a rate per thousand of its
-- own sum insured.
CREATE TABLE trailer_rate (
  class_code        TEXT NOT NULL,
  uom_code          TEXT NOT NULL,
  above             INTEGER NOT NULL,
  up_to             INTEGER NOT NULL,
  premium           INTEGER NOT NULL,
  rate_per_thousand INTEGER NOT NULL,
  PRIMARY KEY (class_code, uom_code, up_to)
);
-- The highest loading an administrator may set; more is cut to it.
CREATE TABLE loading_limit (
  class_code     TEXT PRIMARY KEY,
  max_percentage INTEGER NOT NULL
);
-- By kind of class (0 private, 1 commercial, 2 motorcycle): drivers younger or less
-- experienced than these, or this many claims, make a referred risk; a vehicle
-- older than oldest_vehicle is declined for covers that pay for the vehicle itself.
CREATE TABLE underwriting_limit (
  kind                INTEGER PRIMARY KEY,
  youngest_driver_age INTEGER NOT NULL,
  least_driving_years INTEGER NOT NULL,
  referred_claims     INTEGER NOT NULL,
  oldest_vehicle      INTEGER NOT NULL
);
CREATE TABLE compulsory_excess (
  kind   INTEGER PRIMARY KEY,
  amount INTEGER NOT NULL
);
CREATE TABLE commission_rate (
  agent_type TEXT PRIMARY KEY,
  percentage INTEGER NOT NULL
);
-- Percentage of the annual premium charged for a period of up to so many days.
CREATE TABLE short_period_scale (
  up_to_days INTEGER PRIMARY KEY,
  percentage INTEGER NOT NULL
);
-- New tariff: a base premium by class and cover, times the rates of the rating
-- factors (100 is neutral). A factor matches by code (use, state, gender, make) or
-- by the range above < value <= up_to (driver age, capacity, vehicle age, sum
-- insured); the NCD years' rate follows from the NCD scale.
CREATE TABLE new_tariff_base (
  class_code        TEXT NOT NULL,
  cover_code        TEXT NOT NULL,
  premium           INTEGER NOT NULL,
  rate_per_thousand INTEGER NOT NULL,
  PRIMARY KEY (class_code, cover_code)
);
CREATE TABLE rating_factor (
  class_code TEXT NOT NULL,
  factor     TEXT NOT NULL CHECK (factor IN ('use', 'state', 'driver_age', 'gender', 'make',
                                             'capacity', 'vehicle_age', 'sum_insured')),
  code       TEXT NOT NULL DEFAULT '',
  above      INTEGER NOT NULL DEFAULT 0,
  up_to      INTEGER NOT NULL DEFAULT 0,
  rate       INTEGER NOT NULL
);
CREATE INDEX rating_factor_lookup ON rating_factor(class_code, factor, code);

WITH class(code, kind) AS (VALUES ('PC1', 0), ('PC2', 0), ('CV1', 1), ('CV2', 1), ('CV3', 1),
                                  ('CT1', 1), ('MC1', 2), ('MC2', 2)),
     rate(kind, region, per_thousand) AS (VALUES (0, 'W', 26.0), (0, 'E', 20.3), (1, 'W', 30.0),
                                              (1, 'E', 24.0), (2, 'W', 20.0), (2, 'E', 16.0)),
     cover(code, share, rate_share) AS (VALUES ('01', 100.0, 1.0), ('02', 75.0, 0.75),
                                              ('03', 60.0, 0.0))
INSERT INTO tariff_base (class_code, cover_code, region, band_share, rate_per_thousand)
SELECT class.code, cover.code, rate.region,
       CAST(round(cover.share * CASE rate.region WHEN 'E' THEN 0.9 ELSE 1.0 END * 10000)
            AS INTEGER),
       CAST(round(rate.per_thousand * cover.rate_share * 10000) AS INTEGER)
FROM class JOIN rate ON rate.kind = class.kind, cover;

WITH band(class_code, uom_code, above, up_to, premium) AS (VALUES
  ('PC1', 'C', 0, 1400, 273.8), ('PC1', 'C', 1400, 1650, 305.5), ('PC1', 'C', 1650, 2200, 339.1),
  ('PC1', 'C', 2200, 3050, 372.6), ('PC1', 'C', 3050, 4100, 404.3),
  ('PC1', 'C', 4100, 99999, 436.0),
  ('PC1', 'KW', 0, 100, 273.8), ('PC1', 'KW', 100, 210, 339.1), ('PC1', 'KW', 210, 9999, 404.3),
  ('CV1', 'T', 0, 2.5, 600.0), ('CV1', 'T', 2.5, 3, 700.0), ('CV1', 'T', 3, 5, 850.0),
  ('CV1', 'T', 5, 7.5, 1000.0), ('CV1', 'T', 7.5, 10, 1200.0), ('CV1', 'T', 10, 16, 1500.0),
  ('CV1', 'C', 0, 2500, 500.0), ('CV1', 'C', 2500, 3000, 600.0),
  ('CT1', 'T', 0, 10, 300.0), ('CT1', 'T', 10, 32, 450.0),
  ('MC1', 'C', 0, 150, 80.0), ('MC1', 'C', 150, 250, 110.0), ('MC1', 'C', 250, 500, 150.0),
  ('MC1', 'C', 500, 9999, 200.0)),
  -- classes rated on another class's bands
  alias(code, bands) AS (VALUES ('PC1', 'PC1'), ('PC2', 'PC1'), ('CV1', 'CV1'), ('CV2', 'CV1'),
                               ('CV3', 'CV1'), ('CT1', 'CT1'), ('MC1', 'MC1'), ('MC2', 'MC1'))
INSERT INTO capacity_band (class_code, uom_code, above, up_to, premium)
SELECT alias.code, band.uom_code, CAST(round(band.above * 10000) AS INTEGER),
       CAST(round(band.up_to * 10000) AS INTEGER), CAST(round(band.premium * 10000) AS INTEGER)
FROM alias JOIN band ON band.class_code = alias.bands;

INSERT INTO trailer_rate (class_code, uom_code, above, up_to, premium, rate_per_thousand) VALUES
  ('CV3', 'T', 0, 50000, 2500000, 100000), ('CV3', 'T', 50000, 100000, 4000000, 100000);

INSERT INTO loading_limit (class_code, max_percentage) VALUES
  ('PC1', 500000), ('PC2', 500000), ('CV1', 1000000), ('CV2', 1000000), ('CV3', 1000000),
  ('CT1', 1000000), ('MC1', 500000), ('MC2', 500000);
INSERT INTO underwriting_limit (kind, youngest_driver_age, least_driving_years, referred_claims,
                                oldest_vehicle) VALUES
  (0, 21, 2, 2, 20), (1, 25, 3, 2, 25), (2, 18, 1, 2, 15);
INSERT INTO compulsory_excess (kind, amount) VALUES (0, 0), (1, 5000000), (2, 0);
INSERT INTO commission_rate (agent_type, percentage) VALUES
  ('A', 100000), ('B', 100000), ('H', 100000);
INSERT INTO short_period_scale (up_to_days, percentage) VALUES
  (7, 100000), (30, 200000), (60, 300000), (90, 400000), (120, 500000), (150, 600000),
  (180, 700000), (210, 750000), (240, 800000), (270, 850000), (300, 900000), (330, 950000),
  (366, 1000000);

WITH class(code, kind) AS (VALUES ('PC1', 0), ('PC2', 0), ('CV1', 1), ('CV2', 1), ('CV3', 1),
                                  ('CT1', 1), ('MC1', 2), ('MC2', 2)),
     base(kind, premium, per_thousand) AS (VALUES (0, 300.0, 26.0), (1, 700.0, 30.0),
                                               (2, 90.0, 20.0)),
     cover(code, share) AS (VALUES ('01', 1.0), ('02', 0.75), ('03', 0.5))
INSERT INTO new_tariff_base (class_code, cover_code, premium, rate_per_thousand)
SELECT class.code, cover.code, CAST(round(base.premium * cover.share * 10000) AS INTEGER),
       CAST(round(base.per_thousand * CASE cover.code WHEN '03' THEN 0 ELSE cover.share END
                  * 10000) AS INTEGER)
FROM class JOIN base ON base.kind = class.kind, cover;

WITH class(code, kind) AS (VALUES ('PC1', 0), ('PC2', 0), ('CV1', 1), ('CV2', 1), ('CV3', 1),
                                  ('CT1', 1), ('MC1', 2), ('MC2', 2)),
     factor(kind, factor, code, above, up_to, rate) AS (VALUES
  (NULL, 'use', '02', 0, 0, 110.0), (NULL, 'use', '12', 0, 0, 115.0),
  (NULL, 'use', '13', 0, 0, 120.0), (NULL, 'use', '21', 0, 0, 125.0),
  (NULL, 'state', '14', 0, 0, 110.0), (NULL, 'state', '10', 0, 0, 105.0),
  (NULL, 'state', '12', 0, 0, 95.0), (NULL, 'state', '13', 0, 0, 95.0),
  (NULL, 'gender', 'F', 0, 0, 95.0),
  (NULL, 'make', 'TRM', 0, 0, 95.0), (NULL, 'make', 'MRK', 0, 0, 110.0),
  (NULL, 'driver_age', '', 15, 25, 120.0), (NULL, 'driver_age', '', 25, 65, 100.0),
  (NULL, 'driver_age', '', 65, 80, 115.0),
  (0, 'capacity', '', 0, 1400, 95.0), (0, 'capacity', '', 1400, 2000, 100.0),
  (0, 'capacity', '', 2000, 3000, 110.0), (0, 'capacity', '', 3000, 99999, 120.0),
  (1, 'capacity', '', 0, 7.5, 100.0), (1, 'capacity', '', 7.5, 16, 110.0),
  (1, 'capacity', '', 16, 32, 120.0),
  (2, 'capacity', '', 0, 150, 100.0), (2, 'capacity', '', 150, 9999, 110.0),
  (NULL, 'vehicle_age', '', -1, 5, 100.0), (NULL, 'vehicle_age', '', 5, 10, 105.0),
  (NULL, 'vehicle_age', '', 10, 25, 115.0),
  (NULL, 'sum_insured', '', -1, 50000, 100.0), (NULL, 'sum_insured', '', 50000, 100000, 105.0),
  (NULL, 'sum_insured', '', 100000, 500000, 110.0))
INSERT INTO rating_factor (class_code, factor, code, above, up_to, rate)
SELECT class.code, factor.factor, factor.code, CAST(round(factor.above * 10000) AS INTEGER),
       CAST(round(factor.up_to * 10000) AS INTEGER), CAST(round(factor.rate * 10000) AS INTEGER)
FROM class JOIN factor ON factor.kind IS NULL OR factor.kind = class.kind;
)sql";

// Two corrections of the new tariff. A trailer insured on its own (the trailer classes of
// system code 1040) is not on it yet: it has no base premium there. Commercial vehicles
// measured in cubic centimetres (vans) had no capacity rate; they rate 100 from 500 to
// 5,000 cc, a range no tonnage reaches.
constexpr std::string_view kNewTariffCorrections = R"sql(
DELETE FROM new_tariff_base WHERE class_code = 'CT1';
INSERT INTO rating_factor (class_code, factor, code, above, up_to, rate) VALUES
  ('CV1', 'capacity', '', 5000000, 50000000, 1000000),
  ('CV2', 'capacity', '', 5000000, 50000000, 1000000),
  ('CV3', 'capacity', '', 5000000, 50000000, 1000000),
  ('CT1', 'capacity', '', 5000000, 50000000, 1000000);
)sql";

// Documents are found by their number whatever its letter case: on any store the
// lookup then reads one index entry instead of every row.
constexpr std::string_view kDocumentNumberIndexes = R"sql(
CREATE INDEX cover_note_no_any_case ON cover_note(upper(cover_note_no));
CREATE INDEX policy_no_any_case ON policy(upper(policy_no));
CREATE INDEX client_code_any_case ON client(upper(code));
)sql";

// Each saved amendment of a cover note gives an endorsement, kept as it was made: what it
// says (JSON), the PDF and the PDF's SHA-256. The owner's agent is kept with it, so that the
// agent check of a read does not depend on the cover note's number staying the same.
constexpr std::string_view kEndorsements = R"sql(
CREATE TABLE endorsement (
  endorsement_no TEXT PRIMARY KEY,
  amendment_id   INTEGER NOT NULL UNIQUE REFERENCES amendment(id) ON DELETE CASCADE,
  cover_note_no  TEXT NOT NULL,
  agent_code     TEXT NOT NULL,
  content        TEXT NOT NULL,
  document       BLOB NOT NULL,
  digest         TEXT NOT NULL
);
CREATE INDEX endorsement_cover_note ON endorsement(cover_note_no);
)sql";

// Keys the servers of one database share and keep across restarts: the key that signs the
// browsers' device cookies, so that a browser trusted by one server is trusted by all.
constexpr std::string_view kServerKeys = R"sql(
CREATE TABLE server_key (
  name  TEXT PRIMARY KEY,
  value TEXT NOT NULL
);
)sql";

// Accounts an insurer runs: each user's role (amend, or enquire: reads only), whether he may log
// in, whether his password was set by someone else (a change is forced at his next login), his
// second factor (a TOTP secret, confirmed by a first code; the last time step accepted, so that a
// code is taken once) and his one-time recovery codes, kept hashed. Every account's logins,
// failures, lockouts and changes go to the audit trail. Passwords set before this step were
// never judged by the password rules: each must be chosen again.
constexpr std::string_view kAccounts = R"sql(
ALTER TABLE app_user ADD COLUMN role TEXT NOT NULL DEFAULT 'amend'
  CHECK (role IN ('amend', 'enquire'));
ALTER TABLE app_user ADD COLUMN disabled INTEGER NOT NULL DEFAULT 0;
ALTER TABLE app_user ADD COLUMN must_change_password INTEGER NOT NULL DEFAULT 0;
ALTER TABLE app_user ADD COLUMN require_mfa INTEGER NOT NULL DEFAULT 0;
ALTER TABLE app_user ADD COLUMN totp_secret TEXT;
ALTER TABLE app_user ADD COLUMN totp_confirmed INTEGER NOT NULL DEFAULT 0;
ALTER TABLE app_user ADD COLUMN totp_last_step INTEGER NOT NULL DEFAULT 0;
ALTER TABLE app_user ADD COLUMN last_login_at TEXT;
-- Raised by every change an administrator makes to the account: servers end its sessions.
ALTER TABLE app_user ADD COLUMN revision INTEGER NOT NULL DEFAULT 0;
-- Raised by "covernote user unlock": servers forget the account's failed logins.
ALTER TABLE app_user ADD COLUMN unlocks INTEGER NOT NULL DEFAULT 0;
UPDATE app_user SET must_change_password = 1 WHERE password_hash IS NOT NULL;
CREATE TABLE recovery_code (
  user_id   TEXT NOT NULL REFERENCES app_user(user_id) ON DELETE CASCADE,
  code_hash TEXT NOT NULL,
  used_at   TEXT,
  PRIMARY KEY (user_id, code_hash)
);
-- at: UTC, 2026-12-05T10:00:00Z; actor: who did it (the user himself, or the operator's
-- account at the command line); address: the client's, or "command line".
CREATE TABLE account_event (
  id      INTEGER PRIMARY KEY,
  at      TEXT NOT NULL,
  user_id TEXT NOT NULL,
  event   TEXT NOT NULL,
  detail  TEXT NOT NULL DEFAULT '',
  address TEXT NOT NULL DEFAULT '',
  actor   TEXT NOT NULL DEFAULT ''
);
CREATE INDEX account_event_user ON account_event(user_id, at);
CREATE INDEX account_event_at ON account_event(at);
)sql";

// The web screen's login sessions and failed logins, so that a restarted server, or another
// server of the same database, accepts a browser's cookie and keeps a lockout. A session is
// kept under a hash of its id, never the id; one that ended keeps its row a while with how it
// ended ("logged out", ...), for its other tabs to be told. Times are milliseconds since 1970.
constexpr std::string_view kLoginSessions = R"sql(
CREATE TABLE login_session (
  id_hash    TEXT PRIMARY KEY,
  csrf       TEXT NOT NULL,
  user_id    TEXT NOT NULL,
  agent_code TEXT NOT NULL,
  agent_type TEXT NOT NULL,
  role       TEXT NOT NULL,
  address    TEXT NOT NULL,
  started    BIGINT NOT NULL,
  last_used  BIGINT NOT NULL,
  ends       BIGINT NOT NULL,
  ended      TEXT NOT NULL DEFAULT '',
  ended_at   BIGINT NOT NULL DEFAULT 0
);
CREATE INDEX login_session_user ON login_session(user_id, started);
CREATE TABLE login_failure (
  count_key    TEXT PRIMARY KEY,
  failures     INTEGER NOT NULL,
  last_failure BIGINT NOT NULL,
  locked_until BIGINT NOT NULL
);
)sql";

constexpr std::array kMigrations = {
    Migration{1, "code lists, configuration, agents and users", kReferenceTables},
    Migration{2, "clients, policies, cover notes and the amendment audit", kDocumentTables},
    Migration{3, "enquiry indexes", kEnquiryIndexes},
    Migration{4, "limits of the field checks", kFieldRuleLimits},
    Migration{5, "sample system codes as the screen reads them", kSampleSystemCodes},
    Migration{6, "the tariff", kTariff},
    Migration{7, "new tariff: trailers on their own left off, vans by cubic capacity",
              kNewTariffCorrections},
    Migration{8, "document numbers found in any letter case", kDocumentNumberIndexes},
    Migration{9, "the endorsement of each saved amendment", kEndorsements},
    Migration{10, "keys the servers share", kServerKeys},
    Migration{11, "accounts: roles, forced password changes, a second factor, the audit trail",
              kAccounts},
    Migration{12, "login sessions and failed logins kept for every server", kLoginSessions},
};

constexpr std::string_view kVersionTable = R"sql(
CREATE TABLE IF NOT EXISTS schema_version (
  version     INTEGER PRIMARY KEY,
  description TEXT NOT NULL,
  applied_at  TEXT NOT NULL DEFAULT CURRENT_TIMESTAMP
);
)sql";

}  // namespace

std::span<const Migration> Migrations() { return kMigrations; }

int SchemaVersion(Database& db) {
  if (!db.HasTable("schema_version")) return 0;
  Statement& highest = db.Prepare("SELECT coalesce(max(version), 0) FROM schema_version");
  return highest.Step() ? static_cast<int>(highest.Int(0)) : 0;
}

int Migrate(Database& db) {
  {
    Transaction transaction(db, Transaction::Kind::kImmediate);
    db.ExecuteScript(kVersionTable);
    transaction.Commit();
  }
  int applied = 0;
  for (const Migration& step : kMigrations) {
    Transaction transaction(db, Transaction::Kind::kImmediate);
    // Checked inside the transaction, so two processes opening a new database
    // together do not both apply the same step.
    if (SchemaVersion(db) >= step.version) continue;
    db.ExecuteScript(step.sql);
    db.Prepare("INSERT INTO schema_version (version, description) VALUES (?1, ?2)")
        .Bind(1, std::int64_t{step.version})
        .Bind(2, step.description)
        .Run();
    transaction.Commit();
    ++applied;
  }
  return applied;
}

}  // namespace cn::backend
