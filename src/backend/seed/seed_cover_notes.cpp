// The sample cover notes: one to open for each reason a cover note can or
// cannot be amended, transfers and extensions of earlier cover notes and
// policies, and named drivers, extended covers and claims to show. Dates count
// back from today so that the sample stays current. Premiums are the tariff's.

#include "backend/seed.h"

namespace cn::backend {

std::string_view SeedCoverNotesSql() {
  return R"sql(
WITH sample(no, agent, status, ttype, prev, client, cls, class_use, cover, vehicle, trailer,
            model, year_made, sum_insured, loading, ncd_years, ncd, age_days, remark) AS (VALUES
  ('CN24000101', 'A1001', 'R', 'N', '', 'C0000101', 'PC1', '01', '01', 'WQK 4521', '',
   'TRM001', '2022', 48000.0, 0.0, '0', 0.0, 5, 'REFERRED: YOUNG NAMED DRIVER'),
  ('CN24000102', 'A1001', 'R', 'R', '', 'C0000201', 'CV1', '11', '01', 'BMK 7102', '',
   'KJG002', '2018', 120000.0, 10.0, '1', 15.0, 3, 'REFERRED: TWO CLAIMS LAST YEAR'),
  ('CN24000103', 'A1001', 'I', 'N', '', 'C0000104', 'PC1', '01', '01', 'VFD 88', '',
   'SRN001', '2023', 38000.0, 0.0, '0', 0.0, 4, ''),
  ('CN24000104', 'A1001', 'R', 'T', 'VPC2300011', 'C0000106', 'PC1', '01', '01', 'WXY 2288', '',
   'SRN003', '2021', 55000.0, 0.0, '3', 38.33, 2, 'TRANSFER OF OWNERSHIP'),
  ('CN24000105', 'A1001', 'R', 'E', 'CN23009901', 'C0000103', 'PC1', '01', '01', 'AKB 6012', '',
   'TRM006', '2016', 26000.0, 0.0, '5', 55.0, 1, 'EXTENSION OF COVER NOTE'),
  ('CN24000106', 'A1001', 'R', 'T', 'CN23009902', 'C0000102', 'PC1', '01', '02', 'BNF 3390', '',
   'TRM010', '2019', 32000.0, 0.0, '2', 30.0, 6, 'TRANSFER FROM COVER NOTE'),
  ('CN24000107', 'A1001', 'R', 'E', 'VPC2300012', 'C0000201', 'CV1', '11', '01', 'BMK 7101', '',
   'KJG001', '2019', 85000.0, 0.0, '1', 15.0, 2, 'EXTENSION OF POLICY'),
  ('CN24000108', 'A1001', 'R', 'N', '', 'C0000104', 'PC1', '01', '01', 'TBA', '',
   'MRK002', '2025', 150000.0, 0.0, '0', 0.0, 1, 'NEW VEHICLE AWAITING REGISTRATION'),
  ('CN24000109', 'A2001', 'R', 'N', '', 'C0000105', 'PC1', '01', '01', 'SAB 4417 A', '',
   'SRN002', '2020', 62000.0, 0.0, '4', 45.0, 3, ''),
  ('CN24000110', 'A1001', 'M', 'N', '', 'C0000101', 'PC1', '01', '03', 'WQK 1100', '',
   'TRM003', '2014', 0.0, 0.0, '0', 0.0, 15, 'REPORTED MISSING BY AGENT'),
  ('CN24000111', 'A1001', 'R', 'N', '', 'C0000106', 'PC1', '01', '01', 'PKD 3321', '',
   'TRM015', '2020', 41000.0, 0.0, '2', 30.0, 8, ''),
  ('CN24000112', 'A1001', 'U', 'N', '', 'C0000104', 'MC1', '01', '03', 'WUJ 812', '',
   'HRM001', '2022', 0.0, 0.0, '0', 0.0, 25, ''),
  ('CN24000113', 'A1001', 'I', 'R', '', 'C0000103', 'PC1', '01', '01', 'AKC 77', '',
   'TRM020', '2017', 23000.0, 0.0, '5', 55.0, 40, ''),
  ('CN24000114', 'A1001', 'C', 'N', '', 'C0000102', 'PC1', '01', '01', 'BJP 5050', '',
   'SRN001', '2021', 36000.0, 0.0, '0', 0.0, 12, 'VOIDED: ISSUED IN ERROR'),
  ('CN24000115', 'A1001', 'R', 'D', '', 'C0000104', 'MC1', '01', '01', 'WVA 2299', '',
   'HRM002', '2023', 9000.0, 0.0, '1', 15.0, 3, 'ENDORSEMENT: CHANGE OF ADDRESS'),
  ('CN24000116', 'A1001', 'R', 'N', '', 'C0000202', 'CV2', '12', '01', 'JQB 808', '',
   'KJG003', '2020', 45000.0, 25.0, '0', 0.0, 4, 'LOADING SET BY SUPERVISOR'),
  ('CN24000117', 'A1001', 'R', 'R', '', 'C0000101', 'PC1', '01', '01', 'WQK 4522', '',
   'TRM001', '2022', 50000.0, 0.0, '1', 25.0, 400, 'LAPSED WHILE REFERRED'),
  ('CN24000118', 'B3001', 'R', 'S', '', 'C0000203', 'CV3', '13', '03', 'QSA 9191', 'QT 2001',
   'KJG002', '2017', 0.0, 0.0, '0', 0.0, 2, 'ROAD TAX PURPOSES'),
  ('CN23009901', 'A1001', 'I', 'N', '', 'C0000103', 'PC1', '01', '01', 'AKB 6012', '',
   'TRM006', '2016', 27000.0, 0.0, '5', 55.0, 70, ''),
  ('CN23009902', 'A1001', 'I', 'R', '', 'C0000102', 'PC1', '01', '02', 'BNF 3390', '',
   'TRM010', '2019', 33000.0, 0.0, '2', 30.0, 90, ''),
  -- Issued before the new tariff (system parameter 1127), on fixed dates, and rated on the
  -- current tariff: its decline, a capacity and a trailer capacity outside every band, and
  -- each transaction rated against the cover it changes.
  ('CN22000201', 'A1001', 'R', 'N', '', 'C0000106', 'PC1', '01', '01', 'PKA 1999', '',
   'TRM005', CAST(strftime('%Y', 'now') - 26 AS TEXT), 12000.0, 0.0, '0', 0.0,
   CAST(julianday('now', 'start of day') - julianday('2022-04-11') AS INTEGER),
   'DECLINED: VEHICLE OVER 20 YEARS OLD'),
  ('CN22000202', 'A1001', 'R', 'N', '', 'C0000201', 'CV1', '11', '01', 'BNH 4040', '',
   'KJG005', '2021', 250000.0, 0.0, '0', 0.0,
   CAST(julianday('now', 'start of day') - julianday('2022-03-21') AS INTEGER),
   'NO TARIFF BAND FOR 40 TONNES'),
  ('CN22000203', 'B3001', 'R', 'N', '', 'C0000203', 'CV3', '13', '01', 'QSB 1212', 'QT 2002',
   'KJG004', '2021', 180000.0, 0.0, '0', 0.0,
   CAST(julianday('now', 'start of day') - julianday('2022-03-28') AS INTEGER),
   'NO TRAILER BAND FOR 12 TONNES'),
  ('CN22000204', 'A1001', 'R', 'D', '', 'C0000105', 'PC1', '01', '01', 'SAA 2204', '',
   'SRN002', '2019', 52000.0, 0.0, '2', 30.0,
   CAST(julianday('now', 'start of day') - julianday('2022-05-16') AS INTEGER),
   'ENDORSEMENT: CHANGE OF COLOUR'),
  ('CN22000205', 'A1001', 'R', 'E', 'CN21009903', 'C0000102', 'PC1', '01', '01', 'BKT 5151',
   '', 'TRM007', '2018', 30000.0, 0.0, '1', 25.0,
   CAST(julianday('now', 'start of day') - julianday('2022-03-01') AS INTEGER),
   'EXTENSION OF COVER NOTE'),
  ('CN22000206', 'A1001', 'R', 'T', 'CN21009904', 'C0000106', 'PC1', '01', '02', 'PJK 6262',
   '', 'TRM011', '2017', 25000.0, 0.0, '3', 38.33,
   CAST(julianday('now', 'start of day') - julianday('2022-02-14') AS INTEGER),
   'TRANSFER FROM COVER NOTE'),
  ('CN21009903', 'A1001', 'I', 'N', '', 'C0000102', 'PC1', '01', '01', 'BKT 5151', '',
   'TRM007', '2018', 31000.0, 0.0, '1', 25.0,
   CAST(julianday('now', 'start of day') - julianday('2021-03-01') AS INTEGER),
   ''),
  ('CN21009904', 'A1001', 'I', 'R', '', 'C0000104', 'PC1', '01', '02', 'PJK 6262', '',
   'TRM011', '2017', 26000.0, 0.0, '3', 38.33,
   CAST(julianday('now', 'start of day') - julianday('2021-06-10') AS INTEGER),
   ''),
  -- On the new tariff: each factor table without a row for the risk, and its decline.
  ('CN24000119', 'B3001', 'R', 'N', '', 'C0000203', 'CT1', '14', '01', 'QT 3003', '',
   'KJG006', '2020', 60000.0, 0.0, '0', 0.0, 2, 'TRAILER NOT ON THE NEW TARIFF'),
  ('CN24000120', 'A2001', 'R', 'R', '', 'C0000105', 'PC1', '01', '01', 'SAB 6606', '',
   'SRN003', '2018', 45000.0, 0.0, '6', 55.0, 3, 'NCD OF SIX YEARS NOT ON THE SCALE'),
  ('CN24000121', 'A1001', 'R', 'N', '', 'C0000202', 'CV2', '12', '01', 'JQC 4000', '',
   'KJG005', '2023', 250000.0, 0.0, '0', 0.0, 2, 'NO CAPACITY RATE FOR 40 TONNES'),
  ('CN24000122', 'A1001', 'R', 'R', '', 'C0000106', 'PC1', '01', '02', 'PGA 3030', '',
   'TRM009', CAST(strftime('%Y', 'now') - 30 AS TEXT), 10000.0, 0.0, '0', 0.0, 4,
   'NO RATE FOR A 30 YEAR OLD VEHICLE'),
  ('CN24000123', 'A1001', 'R', 'N', '', 'C0000104', 'PC1', '01', '01', 'WMR 650', '',
   'MRK002', '2025', 650000.0, 0.0, '0', 0.0, 3, 'NO RATE FOR A SUM INSURED OVER 500,000'),
  ('CN24000124', 'A1001', 'R', 'N', '', 'C0000103', 'PC1', '01', '01', 'AKD 2204', '',
   'TRM013', CAST(strftime('%Y', 'now') - 22 AS TEXT), 15000.0, 0.0, '0', 0.0, 2,
   'DECLINED: VEHICLE OVER 20 YEARS OLD'),
  ('CN24000125', 'A1001', 'R', 'R', '', 'C0000103', 'PC1', '01', '01', 'AKE 8485', '',
   'TRM014', '2021', 42000.0, 0.0, '0', 0.0, 3, 'NO DRIVER RATE OVER 80 YEARS'),
  -- Premium agreed outside the tariff: shown on the other premium tab, never rated.
  ('CN24000126', 'A1001', 'R', 'O', '', 'C0000102', 'PC1', '01', '01', 'BNG 1260', '',
   'TRM012', '2022', 40000.0, 0.0, '1', 25.0, 2, 'OTHER PREMIUM AGREED BY HEAD OFFICE')
)
INSERT INTO cover_note (cover_note_no, agent_code, status, transaction_type,
  previous_document_no, issued_at, effective_at, expiry_date, reference_date, remark,
  client_code, client_type, client_name, address, postal_code, town, town_code, state_code,
  house_tel, biz_tel, mobile_tel, email, nric, old_nric, business_registration_no, gender,
  marital_status, date_of_birth, nationality, driving_license_no, driving_license_class,
  license_date, class_code, class_use, class_list_column2, class_list_column3,
  motor_cover_code, vehicle_no, trailer_no, vehicle_make_code, model_code, model, year_made,
  body, capacity, capacity_uom, seating_capacity, engine_no, chassis_no, log_book_no, color,
  vehicle_sum_insured, trailer_sum_insured, total_sum_insured, load_percentage, ncd_year,
  ncd_percentage, service_tax_percentage, stamp_duty, excess_amount, excess_code, region,
  ftz, hazard, garage_code, gs_lock, lock_type, safety_feature, short_calculation, trailer_np,
  other_charges, transfer_fee, has_ex_insurer, ex_insurer_code, ex_insurer, ex_policy_no,
  ex_vehicle_no, ex_ncd_code, ex_ncd_text, driver_category_code, rmt_ncd_year_rate,
  rmt_capacity_rate, rmt_vehicle_age_rate, rmt_sum_insured_rate, rmt_rate,
  premium_field46, premium_field47, all_rider_premium, premium_field59, admin_field105,
  occupation_code, occupation_name, gst_registered, gst_vehicle_biz_use)
SELECT s.no, s.agent, s.status, s.ttype, s.prev,
  datetime('now', 'localtime', printf('-%d days', s.age_days), 'start of day', '+9 hours',
           printf('+%d minutes', s.age_days * 7 % 480)),
  datetime('now', 'localtime', printf('-%d days', s.age_days), 'start of day', '+10 hours'),
  date('now', 'localtime', printf('-%d days', s.age_days), '+1 year', '-1 day'),
  date('now', 'localtime', printf('-%d days', s.age_days)),
  s.remark, c.code, c.client_type, c.name, c.address, c.postal_code, c.town,
  (SELECT p.town_code FROM postcode p WHERE p.postcode = c.postal_code), c.state_code,
  c.house_tel, c.biz_tel, c.mobile_tel, c.email, c.nric, c.old_nric,
  c.business_registration_no, c.gender, CASE c.client_type WHEN 'C' THEN '3'
  ELSE c.marital_status END, c.date_of_birth, c.nationality,
  CASE c.client_type WHEN 'P' THEN 'D' || substr(replace(c.nric, '-', ''), 1, 7) ELSE '' END,
  CASE c.client_type WHEN 'P' THEN CASE k.kind WHEN 2 THEN 'B2' ELSE 'D' END ELSE '' END,
  CASE c.client_type WHEN 'P' THEN '01-Mar-' || (CAST(substr(c.date_of_birth, 7) AS INTEGER) + 19)
  ELSE '' END,
  s.cls, s.class_use, printf('%.2f', k.min_sum_insured), k.tariff_group, s.cover,
  s.vehicle, s.trailer, m.make_code, m.code, m.description, s.year_made, m.body, m.capacity,
  m.uom_code, CAST(m.seating AS TEXT), 'EN' || substr(s.no, 5) || m.code,
  'CH' || m.code || substr(s.no, 3), 'LB' || substr(s.no, 5), 'WHITE',
  s.sum_insured, 0.0, s.sum_insured, s.loading, s.ncd_years, printf('%.2f', s.ncd),
  CASE c.client_type WHEN 'C' THEN 0.0 ELSE 6.0 END, 10.0,
  CASE k.kind WHEN 1 THEN 500.0 ELSE 0.0 END, CASE k.kind WHEN 1 THEN 'DC' ELSE '' END,
  a.tariff_region, '0', '0', '03', '0', '0', '99', 'P', '0', '0', '0',
  CASE WHEN s.ncd > 0 THEN 1 ELSE 0 END,
  CASE WHEN s.ncd > 0 THEN '101' ELSE '' END,
  CASE WHEN s.ncd > 0 THEN 'PERMATA GENERAL ASSURANCE BERHAD' ELSE '' END,
  CASE WHEN s.ncd > 0 THEN 'VP' || substr(s.no, 5) ELSE '' END,
  CASE WHEN s.ncd > 0 THEN s.vehicle ELSE '' END,
  CASE WHEN s.ncd > 0 THEN s.ncd_years ELSE '' END,
  CASE WHEN s.ncd > 0 THEN printf('%.2f', s.ncd) ELSE '' END,
  CASE k.kind WHEN 0 THEN '1' WHEN 2 THEN '4' ELSE '9' END,
  '100', '100', '100', '100', '100', 0.0, 0.0, 0.0, 0.0, '0',
  CASE c.client_type WHEN 'P' THEN 'S01' ELSE '' END,
  CASE c.client_type WHEN 'P' THEN 'SALES PERSONNEL' ELSE '' END, '0', '0'
FROM sample s
JOIN client c ON c.code = s.client
JOIN vehicle_model m ON m.code = s.model
JOIN motor_class k ON k.code = s.cls
JOIN agent a ON a.code = s.agent;

UPDATE cover_note SET business_nature_code = 'LOG', business_nature_name = 'LOGISTICS',
  employer_name = '' WHERE client_type = 'C';
UPDATE cover_note SET submitted_at = datetime('now', 'localtime', '-6 days')
  WHERE cover_note_no = 'CN24000111';
UPDATE cover_note SET submitted_at = datetime('now', 'localtime', '-39 days'),
  uploaded_at = datetime('now', 'localtime', '-38 days') WHERE cover_note_no = 'CN24000113';
UPDATE cover_note SET loading_authority = 5, amended_by = 'SUPERVISOR',
  amended_at = datetime('now', 'localtime', '-2 days') WHERE cover_note_no = 'CN24000116';
UPDATE cover_note SET trailer_sum_insured = 0.0, hazard = '1', goods_description = 'PALM OIL',
  mpuw = '7500', mplw = '12000', hr_flag = '0', cg_flag = '1', cp_flag = '0'
  WHERE cover_note_no = 'CN24000118';
UPDATE cover_note SET mortgagee_code = 'M01', mortgagee = 'BANK CENDANA BERHAD'
  WHERE cover_note_no IN ('CN24000101', 'CN24000104', 'CN24000108');
-- The prime mover's trailer is insured too, as the sum-insured limits of its class ask.
UPDATE cover_note SET trailer_sum_insured = 30000.0, total_sum_insured = vehicle_sum_insured + 30000.0
  WHERE cover_note_no = 'CN22000203';
-- A premium agreed outside the tariff, as its save keeps it: the agreed gross premium with its
-- tax and stamp duty, and none of the tariff's figures.
UPDATE cover_note SET vehicle_sum_insured = 0.0, trailer_sum_insured = 0.0, total_sum_insured = 0.0,
  premium_field46 = 0.0, premium_field47 = 0.0, all_rider_premium = 0.0, load_percentage = 0.0,
  load_amount = 0.0, extra_loading = 0.0, ncd_year = '0.00', basic_premium = 0.0,
  total_ext_premium = 0.0, premium_field59 = 0.0, excess_amount = 0.0, gross_premium = 1150.0,
  service_tax_amount = 69.0, total_premium = 1229.0
  WHERE transaction_type = 'O';
UPDATE cover_note SET security_device = '02' WHERE class_code LIKE 'PC%';

WITH d(no, seq, name, ic_no, dob, licence_date, licence_no, gender, occupation, relationship) AS (VALUES
  ('CN24000101', 0, 'THE INSURED', '800111-01-1123', '11-01-1980', '01-Mar-1999', 'D8001110',
   'M', '04', 'SELF'),
  ('CN24000101', 1, 'NUR AMIRA BINTI AHMAD FAIZAL', '030517-10-6342', '17-05-2003',
   '12-Aug-2022', 'D0305171', 'F', '08', 'DAUGHTER'),
  ('CN24000101', 2, 'AHMAD ZAKI BIN ISMAIL', '821230-01-5327', '30-12-1982', '05-Jun-2001',
   'D8212301', 'M', '02', 'BROTHER'),
  ('CN24000104', 0, 'THE INSURED', '680420-07-5093', '20-04-1968', '01-Mar-1987', 'D6804200',
   'M', '09', 'SELF'),
  ('CN24000105', 0, 'THE INSURED', '620715-08-6011', '15-07-1962', '01-Mar-1981', 'D6207150',
   'M', '10', 'SELF'),
  ('CN24000105', 1, 'KAVITHA A/P MURUGAN', '900228-08-5544', '28-02-1990', '19-Nov-2009',
   'D9002280', 'F', '03', 'DAUGHTER'),
  ('CN24000106', 0, 'THE INSURED', '850623-10-5566', '23-06-1985', '01-Mar-2004', 'D8506231',
   'F', '04', 'SELF'),
  ('CN23009901', 0, 'THE INSURED', '620715-08-6011', '15-07-1962', '01-Mar-1981', 'D6207150',
   'M', '10', 'SELF'),
  ('CN23009902', 0, 'THE INSURED', '850623-10-5566', '23-06-1985', '01-Mar-2004', 'D8506231',
   'F', '04', 'SELF'),
  ('CN24000125', 0, 'SUBRAMANIAM A/L RAMASAMY', '410302-08-5011', '02-03-1941', '01-Mar-1962',
   'D4103020', 'M', '10', 'FATHER')
)
INSERT INTO cover_note_driver (cover_note_id, seq, name, ic_no, dob, licence_date, licence_no,
                               gender, occupation, relationship)
SELECT n.id, d.seq, d.name, d.ic_no, d.dob, d.licence_date, d.licence_no, d.gender,
       d.occupation, d.relationship
FROM d
JOIN cover_note n ON n.cover_note_no = d.no;
)sql"
         R"sql(
WITH e(no, seq, code, sum_insured, percentage, premium) AS (VALUES
  ('CN24000101', 0, '089', '1500.00', '15.00', '225.00'),
  ('CN24000101', 1, '007', '0.00', '0.00', '10.00'),
  ('CN24000102', 0, '025', '0.00', '0.30', '360.00'),
  ('CN24000102', 1, '072', '0.00', '0.00', '7.50'),
  ('CN24000104', 0, '089', '2000.00', '15.00', '300.00'),
  ('CN24000105', 0, '089', '1000.00', '15.00', '150.00'),
  ('CN24000107', 0, '025', '0.00', '0.30', '255.00'),
  ('CN24000109', 0, '101', '0.00', '0.00', '20.00'),
  ('CN23009901', 0, '089', '1000.00', '15.00', '150.00')
)
INSERT INTO cover_note_ext_cover (cover_note_id, seq, code, sum_insured, percentage, premium)
SELECT n.id, e.seq, e.code, e.sum_insured, e.percentage, e.premium
FROM e
JOIN cover_note n ON n.cover_note_no = e.no;

WITH c(no, seq, accident_date, vehicle_no, insurer, nature, amount) AS (VALUES
  ('CN24000102', 0, '14-Feb-2024', 'BMK 7102', 'LAUT BIRU GENERAL BERHAD', 'OWN DAMAGE',
   '8450.00'),
  ('CN24000102', 1, '03-Sep-2024', 'BMK 7102', 'LAUT BIRU GENERAL BERHAD',
   'THIRD PARTY PROPERTY DAMAGE', '3200.00'),
  ('CN24000105', 0, '21-Jun-2023', 'AKB 6012', 'PERMATA GENERAL ASSURANCE BERHAD',
   'WINDSCREEN', '780.00'),
  ('CN24000117', 0, '02-Jan-2024', 'WQK 4522', 'SURIA TAKAFUL BERHAD', 'OWN DAMAGE', '2150.00')
)
INSERT INTO cover_note_claim (cover_note_id, seq, accident_date, vehicle_no, insurer, nature,
                              amount)
SELECT n.id, c.seq, c.accident_date, c.vehicle_no, c.insurer, c.nature, c.amount
FROM c
JOIN cover_note n ON n.cover_note_no = c.no;

UPDATE cover_note SET no_of_claims =
  (SELECT CAST(count(*) AS TEXT) FROM cover_note_claim WHERE cover_note_id = cover_note.id);

-- The driver category a save derives: the cover type, an extended cover for any driver
-- (system codes 1007 and 1021) and three or more named-driver rows.
UPDATE cover_note SET driver_category_code = (
  SELECT CASE
    WHEN k.kind NOT IN (0, 2) THEN '9'
    WHEN EXISTS (SELECT 1 FROM cover_note_ext_cover e WHERE e.cover_note_id = cover_note.id
                 AND e.code IN (SELECT value FROM system_code WHERE code IN (1007, 1021)))
      THEN CASE k.kind WHEN 0 THEN '3' ELSE '5' END
    WHEN k.kind = 2 THEN '4'
    WHEN (SELECT count(*) FROM cover_note_driver d WHERE d.cover_note_id = cover_note.id) >= 3
      THEN '2'
    ELSE '1' END
  FROM motor_class k WHERE k.code = cover_note.class_code);

-- The premium figures follow from the tariff (RateSampleCoverNotes); the extended
-- covers' sums insured are the sample's own.
UPDATE cover_note SET total_ext_sum_insured = coalesce((SELECT sum(CAST(sum_insured AS REAL))
    FROM cover_note_ext_cover WHERE cover_note_id = cover_note.id), 0.0),
  premium_field89 = 0.0;
)sql";
}

}  // namespace cn::backend
