// Code lists, configuration and agents of a new database, and the sample's users. Amounts
// are written as decimals; Seed() turns them into ten-thousandths.

#include "backend/seed.h"

namespace cn::backend {

std::string_view SeedListsSql() {
  return R"sql(
INSERT INTO system_code (code, value, description) VALUES
  (1001, '03', 'motor cover rated without sums insured'),
  (1006, '1', 'premium rounding step'),
  (1007, '089', 'extended cover priced on its own sum insured'),
  (1008, '007', 'extended cover for additional named drivers'),
  (1009, '00', 'occupation stored for a driver without one'),
  (1011, '01', 'default motor cover'),
  (1021, '006', 'extended cover for any authorised driver'),
  (1025, '6', 'default service tax percentage'),
  (1026, '10.00', 'default stamp duty'),
  (1030, 'THE INSURED', 'the insured as named driver'),
  (1031, 'TBA', 'vehicle number not yet registered'),
  (1034, 'TRM', 'make whose models are checked by description'),
  (1040, 'CT1', 'trailer classes: the trailer is the insured vehicle'),
  (1060, '*;,;#', 'characters not allowed in identity numbers'),
  (1061, '01;02', 'covers that name the insured as driver'),
  (1062, 'ANY AUTHORISED DRIVER', 'driver row standing for any driver'),
  (1069, '111', 'extended cover for NCD relief'),
  (1097, '16', 'youngest motorcycle rider'),
  (1098, '17', 'youngest car driver');

INSERT INTO system_parameter (code, description, value) VALUES
  (1127, 'New tariff in force from', '01-Jul-2022'),
  (1128, 'Cover note validity in days', '60');

INSERT INTO state (code, name) VALUES
  ('01', 'JOHOR'), ('02', 'KEDAH'), ('03', 'KELANTAN'), ('04', 'MELAKA'),
  ('05', 'NEGERI SEMBILAN'), ('06', 'PAHANG'), ('07', 'PULAU PINANG'), ('08', 'PERAK'),
  ('09', 'PERLIS'), ('10', 'SELANGOR'), ('11', 'TERENGGANU'), ('12', 'SABAH'),
  ('13', 'SARAWAK'), ('14', 'WILAYAH PERSEKUTUAN KUALA LUMPUR'),
  ('15', 'WILAYAH PERSEKUTUAN LABUAN'), ('16', 'WILAYAH PERSEKUTUAN PUTRAJAYA');

INSERT INTO town (code, name, state_code) VALUES
  ('KUL', 'KUALA LUMPUR', '14'), ('PJY', 'PETALING JAYA', '10'), ('SHA', 'SHAH ALAM', '10'),
  ('KLG', 'KLANG', '10'), ('SBJ', 'SUBANG JAYA', '10'), ('JHB', 'JOHOR BAHRU', '01'),
  ('BPT', 'BATU PAHAT', '01'), ('GTN', 'GEORGE TOWN', '07'), ('IPH', 'IPOH', '08'),
  ('KBR', 'KOTA BHARU', '03'), ('KTN', 'KUANTAN', '06'), ('MLK', 'MELAKA', '04'),
  ('SRB', 'SEREMBAN', '05'), ('KKI', 'KOTA KINABALU', '12'), ('KCH', 'KUCHING', '13'),
  ('AST', 'ALOR SETAR', '02'), ('KGR', 'KANGAR', '09'), ('KTR', 'KUALA TERENGGANU', '11'),
  ('PTJ', 'PUTRAJAYA', '16'), ('LBN', 'LABUAN', '15');

INSERT INTO postcode (postcode, town_code) VALUES
  ('50450', 'KUL'), ('50050', 'KUL'), ('55100', 'KUL'), ('46000', 'PJY'), ('47301', 'PJY'),
  ('40000', 'SHA'), ('40150', 'SHA'), ('41000', 'KLG'), ('47500', 'SBJ'), ('80000', 'JHB'),
  ('81200', 'JHB'), ('83000', 'BPT'), ('10200', 'GTN'), ('30000', 'IPH'), ('15000', 'KBR'),
  ('25000', 'KTN'), ('75000', 'MLK'), ('70000', 'SRB'), ('88000', 'KKI'), ('93000', 'KCH'),
  ('05000', 'AST'), ('01000', 'KGR'), ('20000', 'KTR'), ('62000', 'PTJ'), ('87000', 'LBN');

INSERT INTO vehicle_make (code, name) VALUES
  ('TRM', 'TARUMA'), ('SRN', 'SERINDIT'), ('MRK', 'MERAK MOTOR'), ('KJG', 'KIJANG TRUCKS'),
  ('HRM', 'HARIMAU MOTOSIKAL');

INSERT INTO body_type (code, name) VALUES
  ('SAL', 'SALOON'), ('HTB', 'HATCHBACK'), ('MPV', 'MULTI PURPOSE VEHICLE'),
  ('SUV', 'SPORT UTILITY VEHICLE'), ('PUP', 'PICK-UP'), ('LRY', 'LORRY'), ('VAN', 'PANEL VAN'),
  ('TNK', 'TANKER'), ('SCT', 'SCOOTER'), ('UND', 'UNDERBONE');

INSERT INTO unit_of_measure (code, description) VALUES
  ('C', 'CC'), ('T', 'TONNE'), ('KW', 'KILOWATT');

-- Taruma builds enough variants that a search for the make alone is too wide.
WITH RECURSIVE variant(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM variant WHERE n < 24)
INSERT INTO vehicle_model (code, make_code, description, capacity, uom_code, body, seating)
SELECT printf('TRM%03d', n), 'TRM',
       CASE n % 4 WHEN 0 THEN 'TARUMA SERI' WHEN 1 THEN 'TARUMA ISWARA'
                  WHEN 2 THEN 'TARUMA CEMPAKA' ELSE 'TARUMA DAHLIA' END
       || CASE WHEN n % 3 = 0 THEN ' 1.3' WHEN n % 3 = 1 THEN ' 1.5' ELSE ' 1.6' END
       || CASE WHEN n <= 12 THEN ' (M)' ELSE ' (A)' END,
       CASE WHEN n % 3 = 0 THEN 1299.0 WHEN n % 3 = 1 THEN 1468.0 ELSE 1597.0 END,
       'C', CASE WHEN n % 2 = 0 THEN 'SALOON' ELSE 'HATCHBACK' END, 5
FROM variant;

INSERT INTO vehicle_model (code, make_code, description, capacity, uom_code, body, seating) VALUES
  ('SRN001', 'SRN', 'SERINDIT ALUNAN 1.0', 998.0, 'C', 'HATCHBACK', 5),
  ('SRN002', 'SRN', 'SERINDIT BAYU 1.5 MPV', 1495.0, 'C', 'MULTI PURPOSE VEHICLE', 7),
  ('SRN003', 'SRN', 'SERINDIT ARUS 1.5 SUV', 1496.0, 'C', 'SPORT UTILITY VEHICLE', 5),
  ('MRK001', 'MRK', 'MERAK 2.5 PICK-UP', 2494.0, 'C', 'PICK-UP', 5),
  ('MRK002', 'MRK', 'MERAK EV 150', 150.0, 'KW', 'SALOON', 5),
  ('KJG001', 'KJG', 'KIJANG 3 TONNE LORRY', 3.0, 'T', 'LORRY', 3),
  ('KJG002', 'KJG', 'KIJANG 7.5 TONNE LORRY', 7.5, 'T', 'LORRY', 3),
  ('KJG003', 'KJG', 'KIJANG PANEL VAN 2.0', 1998.0, 'C', 'PANEL VAN', 2),
  ('KJG004', 'KJG', 'KIJANG 12 TONNE PRIME MOVER', 12.0, 'T', 'PRIME MOVER', 2),
  ('KJG005', 'KJG', 'KIJANG 40 TONNE HEAVY HAULER', 40.0, 'T', 'PRIME MOVER', 2),
  ('KJG006', 'KJG', 'KIJANG 20 TONNE FLATBED TRAILER', 20.0, 'T', 'SEMI-TRAILER', 1),
  ('HRM001', 'HRM', 'HARIMAU KAPCAI 110', 110.0, 'C', 'UNDERBONE', 2),
  ('HRM002', 'HRM', 'HARIMAU LAJU 150', 149.0, 'C', 'SCOOTER', 2);

INSERT INTO motor_class (code, kind, seq, description, min_sum_insured, tariff_group,
                         default_uom, max_seating) VALUES
  ('PC1', 0, 1, 'PRIVATE CAR', 10000.00, 'PRIVATE', 'C', 9),
  ('PC2', 0, 2, 'PRIVATE CAR (COMPANY REGISTERED)', 10000.00, 'PRIVATE', 'C', 9),
  ('CV1', 1, 1, 'GOODS VEHICLE (OWN GOODS)', 15000.00, 'COMMERCIAL', 'T', 3),
  ('CV2', 1, 2, 'GOODS VEHICLE (GENERAL CARTAGE)', 15000.00, 'COMMERCIAL', 'T', 3),
  ('CV3', 1, 3, 'GOODS VEHICLE WITH TRAILER', 20000.00, 'COMMERCIAL', 'T', 3),
  ('CT1', 1, 4, 'TRAILER', 5000.00, 'COMMERCIAL', 'T', 1),
  ('MC1', 2, 1, 'MOTORCYCLE', 1000.00, 'MOTORCYCLE', 'C', 2),
  ('MC2', 2, 2, 'MOTORCYCLE (DESPATCH RIDER)', 1000.00, 'MOTORCYCLE', 'C', 2);

INSERT INTO class_use (class_code, seq, code, description, usage_group, carries_goods) VALUES
  ('PC1', 1, '01', 'SOCIAL, DOMESTIC AND PLEASURE', 'S', '0'),
  ('PC1', 2, '02', 'SOCIAL AND BUSINESS OF THE INSURED', 'B', '0'),
  ('PC2', 1, '02', 'SOCIAL AND BUSINESS OF THE INSURED', 'B', '0'),
  ('PC2', 2, '03', 'EMPLOYEE USE', 'B', '0'),
  ('CV1', 1, '11', 'CARRIAGE OF OWN GOODS', 'G', '1'),
  ('CV2', 1, '12', 'CARRIAGE OF GOODS FOR HIRE', 'G', '1'),
  ('CV3', 1, '12', 'CARRIAGE OF GOODS FOR HIRE', 'G', '1'),
  ('CV3', 2, '13', 'HAULAGE OF TRAILERS', 'G', '1'),
  ('CT1', 1, '14', 'TRAILER HAULED BY A PRIME MOVER', 'G', '1'),
  ('MC1', 1, '01', 'SOCIAL, DOMESTIC AND PLEASURE', 'S', '0'),
  ('MC2', 1, '21', 'DESPATCH AND DELIVERY', 'G', '1');

INSERT INTO class_unit (class_code, uom_code, seq) VALUES
  ('PC1', 'C', 1), ('PC1', 'KW', 2), ('PC2', 'C', 1), ('PC2', 'KW', 2),
  ('CV1', 'T', 1), ('CV1', 'C', 2), ('CV2', 'T', 1), ('CV2', 'C', 2), ('CV3', 'T', 1),
  ('CT1', 'T', 1), ('MC1', 'C', 1), ('MC2', 'C', 1);

INSERT INTO motor_cover (code, description, scope) VALUES
  ('01', 'COMPREHENSIVE', 1), ('02', 'THIRD PARTY, FIRE AND THEFT', 2), ('03', 'THIRD PARTY', 3);

INSERT INTO extended_cover (code, description) VALUES
  ('089', 'BREAKAGE OF GLASS IN WINDSCREEN'),
  ('072', 'LEGAL LIABILITY OF PASSENGERS'),
  ('025', 'STRIKE, RIOT AND CIVIL COMMOTION'),
  ('057', 'INCLUSION OF SPECIAL PERILS'),
  ('101', 'EXTENSION OF COVER TO A NEIGHBOURING COUNTRY'),
  ('007', 'ADDITIONAL NAMED DRIVERS'),
  ('006', 'ANY AUTHORISED DRIVER'),
  ('111', 'NCD RELIEF');

-- Every extension is offered with comprehensive cover; third-party covers offer
-- only the driver and passenger extensions.
INSERT INTO extended_cover_detail (class_code, cover_code, ext_code, seq, percentage,
                                   default_premium, min_premium, method)
SELECT c.code, m.code, e.code,
       CASE e.code WHEN '089' THEN 1 WHEN '072' THEN 2 WHEN '025' THEN 3 WHEN '057' THEN 4
                   WHEN '101' THEN 5 WHEN '007' THEN 6 WHEN '006' THEN 7 ELSE 8 END,
       CASE e.code WHEN '089' THEN 15.0 WHEN '025' THEN 0.3 WHEN '057' THEN 0.5 ELSE 0.0 END,
       CASE e.code WHEN '072' THEN 7.5 WHEN '101' THEN 20.0 WHEN '007' THEN 10.0
                   WHEN '006' THEN 50.0 WHEN '111' THEN 45.0 ELSE 0.0 END,
       CASE e.code WHEN '089' THEN 20.0 WHEN '025' THEN 5.0 WHEN '057' THEN 10.0 ELSE 0.0 END,
       CASE e.code WHEN '089' THEN 'S' WHEN '025' THEN 'P' WHEN '057' THEN 'P' ELSE 'F' END
FROM motor_class c, motor_cover m, extended_cover e
WHERE m.code = '01' OR e.code IN ('072', '007', '006');

INSERT INTO ncd_scale (class_code, years, percentage)
SELECT c.code, s.years, CASE WHEN c.kind = 0 THEN s.private_rate ELSE s.other_rate END
FROM motor_class c,
     (SELECT '0' AS years, 0.0 AS private_rate, 0.0 AS other_rate
      UNION ALL SELECT '1', 25.0, 15.0 UNION ALL SELECT '2', 30.0, 20.0
      UNION ALL SELECT '3', 38.33, 25.0 UNION ALL SELECT '4', 45.0, 25.0
      UNION ALL SELECT '5', 55.0, 25.0) s;

INSERT INTO occupation (code, name) VALUES
  ('01', 'CLERK'), ('02', 'ENGINEER'), ('03', 'TEACHER'), ('04', 'SALES EXECUTIVE'),
  ('05', 'NURSE'), ('06', 'DESPATCH RIDER'), ('07', 'LORRY DRIVER'), ('08', 'STUDENT'),
  ('09', 'SELF EMPLOYED'), ('10', 'RETIRED'), ('99', 'OTHERS');

INSERT INTO insured_occupation (code, name) VALUES
  ('A01', 'ACCOUNTANT'), ('A02', 'ARCHITECT'), ('B01', 'BUSINESS OWNER'),
  ('C01', 'CIVIL SERVANT'), ('D01', 'DOCTOR'), ('E01', 'ENGINEER'), ('H01', 'HOUSEWIFE'),
  ('L01', 'LECTURER'), ('S01', 'SALES PERSONNEL'), ('T01', 'TECHNICIAN'), ('Z99', 'OTHERS');

INSERT INTO nationality (code, name) VALUES
  ('MYS', 'MALAYSIAN'), ('SGP', 'SINGAPOREAN'), ('IDN', 'INDONESIAN'), ('THA', 'THAI'),
  ('PHL', 'FILIPINO'), ('IND', 'INDIAN'), ('CHN', 'CHINESE'), ('GBR', 'BRITISH');

INSERT INTO business_nature (code, name) VALUES
  ('AGR', 'AGRICULTURE AND PLANTATION'), ('CON', 'CONSTRUCTION'), ('LOG', 'LOGISTICS'),
  ('MAN', 'MANUFACTURING'), ('RET', 'RETAIL TRADE'), ('SVC', 'PROFESSIONAL SERVICES'),
  ('FNB', 'FOOD AND BEVERAGE');

INSERT INTO insurer (code, name) VALUES
  ('101', 'PERMATA GENERAL ASSURANCE BERHAD'), ('102', 'SURIA TAKAFUL BERHAD'),
  ('103', 'BUKIT TINGGI INSURANCE BERHAD'), ('104', 'LAUT BIRU GENERAL BERHAD'),
  ('105', 'CAHAYA MUTUAL INSURANCE BERHAD');

INSERT INTO mortgagee (code, name) VALUES
  ('M01', 'BANK CENDANA BERHAD'), ('M02', 'BANK MERANTI ISLAMIC BERHAD'),
  ('M03', 'KENANGA KREDIT SDN BHD'), ('M04', 'PUNCAK LEASING SDN BHD');

INSERT INTO security_device (code, name) VALUES
  ('00', 'NONE'), ('01', 'STEERING LOCK'), ('02', 'IMMOBILISER'), ('03', 'ALARM'),
  ('04', 'GPS TRACKER');

INSERT INTO tariff_region (code, name) VALUES
  ('W', 'PENINSULAR MALAYSIA'), ('E', 'SABAH, SARAWAK AND LABUAN');

INSERT INTO agent (code, name, agent_type, tariff_region, head_office) VALUES
  ('HQ001', 'HEAD OFFICE UNDERWRITING', 'H', 'W', 1),
  ('A1001', 'AGENSI TERATAI SDN BHD', 'A', 'W', 0),
  ('A2001', 'BORNEO CERIA AGENCY', 'A', 'E', 0),
  ('B3001', 'BANK CENDANA BANCA DESK', 'B', 'W', 0);

)sql";
}

std::string_view SeedSampleUsersSql() {
  return R"sql(
-- The sample's users. Only the demo administrator may log in, with the demo password
-- "covernote" (see the README), and he must choose his own at his first login; the others have
-- no password until one is set (covernote user passwd).
INSERT INTO app_user (user_id, name, agent_code, authority_level, password_hash,
                      must_change_password) VALUES
  ('ADMIN', 'NORHAYATI BINTI SALLEH', 'HQ001', 3,
   '$argon2id$v=19$m=65536,t=2,p=1$NYNfUPQhK6k/XIMuEao0Sg$hve+yUGhArzNNkOikSa9hEPbqKf1/NWjoooCkS3L/tQ', 1),
  ('SUPERVISOR', 'LIM WEI KEAT', 'HQ001', 5, NULL, 0),
  ('TERATAI01', 'RAJESH A/L MUNUSAMY', 'A1001', 1, NULL, 0),
  ('BORNEO01', 'JENNIFER LAJIM', 'A2001', 1, NULL, 0);
)sql";
}

}  // namespace cn::backend
