// Clients and the previous policies that transfers and extensions replace.
// Address lines are joined by CR LF, as the screen keeps them.

#include "backend/seed.h"

namespace cn::backend {

std::string_view SeedClientsAndPoliciesSql() {
  return R"sql(
INSERT INTO client (code, client_type, name, old_nric, nric, business_registration_no, gender,
                    date_of_birth, marital_status, nationality, address, town, postal_code,
                    state_code, house_tel, biz_tel, mobile_tel, email) VALUES
  ('C0000101', 'P', 'AHMAD FAIZAL BIN ISMAIL', '', '800111-01-1123', '', 'M', '11-01-1980', 'M',
   'MYS', 'NO 12, JALAN MERANTI 3' || char(13, 10) || 'TAMAN SERI MERANTI', 'PETALING JAYA',
   '46000', '10', '0378561234', '', '0123456789', 'faizal.ismail@example.my'),
  ('C0000102', 'P', 'TAN MEI LING', '', '850623-10-5566', '', 'F', '23-06-1985', 'S', 'MYS',
   '23A, LORONG CEMPAKA 5' || char(13, 10) || 'BANDAR BARU' || char(13, 10) || 'KLANG',
   'KLANG', '41000', '10', '0333421100', '', '0167788990', 'meiling.tan@example.my'),
  ('C0000103', 'P', 'MURUGAN A/L SUBRAMANIAM', 'A2345678', '620715-08-6011', '', 'M',
   '15-07-1962', 'M', 'MYS', '8, JALAN SULTAN IDRIS' || char(13, 10) || 'IPOH', 'IPOH',
   '30000', '08', '052541234', '', '0195550101', ''),
  ('C0000104', 'P', 'NUR AISYAH BINTI ABDULLAH', '', '990302-14-7820', '', 'F', '02-03-1999',
   'S', 'MYS', 'C-5-2, PANGSAPURI MAWAR' || char(13, 10) || 'JALAN IPOH', 'KUALA LUMPUR',
   '50450', '14', '', '', '0112345678', 'aisyah.abdullah@example.my'),
  ('C0000105', 'P', 'JOSEPH GIMBANG', '', '770909-12-5233', '', 'M', '09-09-1977', 'M', 'MYS',
   'LOT 5, TAMAN LIKAS' || char(13, 10) || 'KOTA KINABALU', 'KOTA KINABALU', '88000', '12',
   '088234567', '', '0138765432', 'joseph.g@example.my'),
  ('C0000106', 'P', 'LEE CHONG HUAT', '', '680420-07-5093', '', 'M', '20-04-1968', 'D', 'MYS',
   '77, LEBUH PANTAI' || char(13, 10) || 'GEORGE TOWN', 'GEORGE TOWN', '10200', '07',
   '042611234', '042615678', '0124441212', 'chonghuat@example.my'),
  ('C0000201', 'C', 'SYARIKAT PENGANGKUTAN MAJU JAYA SDN BHD', '', '', '201501012345', '', '',
   '', '', 'LOT 88, JLN PERUSAHAAN 2' || char(13, 10) || 'KAWASAN PERINDUSTRIAN' ||
   char(13, 10) || 'SHAH ALAM', 'SHAH ALAM', '40000', '10', '', '0355191000', '', 'ops@majujaya.example.my'),
  ('C0000202', 'C', 'KEDAI RUNCIT SRI MURNI ENTERPRISE', '', '', 'JM0123456-X', '', '', '', '',
   '15, JALAN BESAR' || char(13, 10) || 'BATU PAHAT', 'BATU PAHAT', '83000', '01', '',
   '074321111', '0177001122', 'srimurni@example.my'),
  ('C0000203', 'C', 'BORNEO HIJAU PLANTATIONS SDN BHD', '', '', '199901004567', '', '', '', '',
   'TINGKAT 3, WISMA HIJAU' || char(13, 10) || 'JALAN TUN RAZAK', 'KUCHING', '93000', '13', '',
   '082411222', '', 'admin@borneohijau.example.my');

INSERT INTO policy (policy_no, agent_code, status, client_code, client_name, address,
  postal_code, town, state_code, client_type, nric, old_nric, driving_license_no, house_tel,
  biz_tel, email, business_registration_no, motor_cover_code, service_tax_percentage,
  service_tax_amount, stamp_duty, total_premium, vehicle_no, trailer_no, class_code,
  effective_date, expiry_date, class_list_column2, class_list_column3, vehicle_sum_insured,
  trailer_sum_insured, total_ext_sum_insured, vehicle_make_code, model_code, model, year_made,
  body, log_book_no, capacity, capacity_uom, engine_no, chassis_no, seating_capacity,
  premium_field46, premium_field47, tariff_premium, all_rider_premium, load_percentage,
  load_amount, ncd_year, ncd_percentage, ncd_amount, rmt_use_rate, rmt_state_rate,
  rmt_driver_rate, rmt_gender_rate, rmt_ncd_year_rate, rmt_vehicle_make_rate,
  rmt_capacity_rate, rmt_vehicle_age_rate, rmt_sum_insured_rate, rmt_rate, basic_premium,
  total_ext_premium, total_sum_insured, gross_premium, excess_amount, premium_field84,
  marital_status, garage_code, gs_lock, lock_type, safety_feature, driver_category_code, gender,
  nationality, driving_license_class, color) VALUES
  ('VPC2300011', 'A1001', 'A', 'C0000102', 'TAN MEI LING',
   '23A, LORONG CEMPAKA 5' || char(13, 10) || 'BANDAR BARU' || char(13, 10) || 'KLANG',
   '41000', 'KLANG', '10', 'P', '850623-10-5566', '', 'D8506231', '0333421100', '', 
   'meiling.tan@example.my', '', '01', 6.0, 61.20, 10.00, 1152.92, 'WXY 2288', '', 'PC1',
   date('now', '-300 days'), date('now', '+65 days'), '10000.00', 'PRIVATE', 55000.00, 0.00,
   0.00, 'SRN', 'SRN003', 'SERINDIT ARUS 1.5 SUV', '2021', 'SPORT UTILITY VEHICLE', 'LB210034',
   1496.00, 'C', 'ARS15E889123', 'PM2ARS15C00881', '5', 0.00, 0.00, 1487.40, 0.00, 0.00, 0.00,
   '3', '38.33', 570.12, '', '', '', '', '100', '', '100', '100', '100', '100', 917.28, 164.44,
   55000.00, 1081.72, 0.00, 'p', 'S', '03', '0', '0', '99', '1', 'F', 'MYS', 'D', 'WHITE'),
  ('VPC2300012', 'A1001', 'A', 'C0000201', 'SYARIKAT PENGANGKUTAN MAJU JAYA SDN BHD',
   'LOT 88, JLN PERUSAHAAN 2' || char(13, 10) || 'KAWASAN PERINDUSTRIAN' || char(13, 10) ||
   'SHAH ALAM', '40000', 'SHAH ALAM', '10', 'C', '', '', '', '', '0355191000',
   'ops@majujaya.example.my', '201501012345', '01', 6.0, 145.80, 10.00, 2585.80, 'BMK 7101', '',
   'CV1', date('now', '-350 days'), date('now', '+15 days'), '15000.00', 'COMMERCIAL',
   85000.00, 0.00, 0.00, 'KJG', 'KJG001', 'KIJANG 3 TONNE LORRY', '2019', 'LORRY', 'LB190771',
   3.00, 'T', '4D34T889011', 'KJG3T19A00231', '3', 0.00, 0.00, 2430.00, 0.00, 0.00, 0.00, '1',
   '15.00', 364.50, '', '', '', '', '100', '', '100', '100', '100', '100', 2065.50, 364.50,
   85000.00, 2430.00, 500.00, 'c', '3', '02', '0', '0', '99', '9', '', '', '', 'BLUE'),
  ('VPC2300013', 'A2001', 'A', 'C0000105', 'JOSEPH GIMBANG',
   'LOT 5, TAMAN LIKAS' || char(13, 10) || 'KOTA KINABALU', '88000', 'KOTA KINABALU', '12', 'P',
   '770909-12-5233', '', 'D7709091', '088234567', '', 'joseph.g@example.my', '', '02', 6.0,
   30.60, 10.00, 550.60, 'SAB 1234 K', '', 'PC1', date('now', '-330 days'),
   date('now', '+35 days'), '10000.00', 'PRIVATE', 28000.00, 0.00, 0.00, 'TRM', 'TRM002',
   'TARUMA CEMPAKA 1.6 (M)', '2015', 'SALOON', 'LB150223', 1597.00, 'C', 'S4PH15C22091',
   'PL1BT3SNR5B00771', '5', 0.00, 0.00, 750.00, 0.00, 0.00, 0.00, '5', '55.00', 412.50, '',
   '', '', '', '100', '', '100', '100', '100', '100', 337.50, 0.00, 28000.00, 510.00, 0.00, 'p',
   'M', '03', '0', '0', '99', '1', 'M', 'MYS', 'D', 'SILVER');

INSERT INTO policy_driver (policy_id, seq, name, ic_no, dob, occupation)
SELECT id, 0, 'TAN MEI LING', '850623-10-5566', '23-06-1985', '04' FROM policy
  WHERE policy_no = 'VPC2300011'
UNION ALL SELECT id, 1, 'TAN KAH WENG', '830214-10-5011', '14-02-1983', '02' FROM policy
  WHERE policy_no = 'VPC2300011'
UNION ALL SELECT id, 0, 'JOSEPH GIMBANG', '770909-12-5233', '09-09-1977', '09' FROM policy
  WHERE policy_no = 'VPC2300013';

INSERT INTO policy_ext_cover (policy_id, seq, code, sum_insured, percentage, premium)
SELECT id, 0, '089', '1500.00', '15.00', '225.00' FROM policy WHERE policy_no = 'VPC2300011'
UNION ALL SELECT id, 1, '007', '0.00', '0.00', '10.00' FROM policy WHERE policy_no = 'VPC2300011'
UNION ALL SELECT id, 0, '025', '0.00', '0.30', '255.00' FROM policy
  WHERE policy_no = 'VPC2300012';
)sql";
}

}  // namespace cn::backend
