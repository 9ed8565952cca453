-- Demo data for installation 1: three readers wired as scripts/run simulates
-- them (COM1 addresses 1 and 2, COM2 address 1), a few cardholders and their
-- cards. Applied by scripts/run to a copy of the factory INSTALACION_1.FDB.
-- The cards marked 'S' are already in the simulated readers' memories
-- (data/demo/sim); Mei's card still waits for the garage exit reader.

INSERT INTO zarvcontrolador (cod, puerto_serie, tiempo_pta_abierta, tipo, descripcion, direccion)
  VALUES (1, 1, 20, 'ENTRADA', 'Main entrance', 1);
INSERT INTO zarvcontrolador (cod, puerto_serie, tiempo_pta_abierta, tipo, descripcion, direccion)
  VALUES (2, 1, 20, 'SALIDA', 'Garage exit', 2);
INSERT INTO zarvcontrolador (cod, puerto_serie, tiempo_pta_abierta, tipo, descripcion, direccion)
  VALUES (3, 2, 20, '', 'Warehouse', 1);

INSERT INTO zarvusuario VALUES (gen_id(GEN_ZARVUSUARIO_ID, 1), 'Ana', 'Garcia Lopez', 'S', '');
INSERT INTO zarvusuario VALUES (gen_id(GEN_ZARVUSUARIO_ID, 1), 'Tom', 'Baker', 'S', '');
INSERT INTO zarvusuario VALUES (gen_id(GEN_ZARVUSUARIO_ID, 1), 'Mei', 'Chen', 'S', '');
INSERT INTO zarvusuario VALUES (gen_id(GEN_ZARVUSUARIO_ID, 1), 'Olu', 'Adeyemi', 'S', '');
INSERT INTO zarvusuario VALUES (gen_id(GEN_ZARVUSUARIO_ID, 1), 'Sara', 'Novak', 'S', '');

-- codigo_tarjeta, bloqueado, fecha_alta, fecha_caducidad, usuario, usar_fecha_cad
INSERT INTO zarvtarjeta VALUES ('0000012345', 'N', '2024-03-01 08:00:00', '2024-03-01 08:00:00', 1, 'N');
INSERT INTO zarvtarjeta VALUES ('0000023456', 'N', '2024-03-01 08:05:00', '2024-03-01 08:05:00', 2, 'N');
INSERT INTO zarvtarjeta VALUES ('0000034567', 'N', '2024-03-04 09:30:00', '2024-03-04 09:30:00', 3, 'N');
INSERT INTO zarvtarjeta VALUES ('0000045678', 'N', '2024-04-15 11:00:00', '2027-06-30 18:00:00', 4, 'S');
INSERT INTO zarvtarjeta VALUES ('0000056789', 'N', '2024-05-20 10:15:00', '2024-05-20 10:15:00', 5, 'N');
INSERT INTO zarvtarjeta VALUES ('0000067890', 'N', '2024-05-20 10:20:00', '2024-05-20 10:20:00', -1, 'N');

INSERT INTO zarvcontroladortarjeta VALUES ('0000012345', 1, 'S');
INSERT INTO zarvcontroladortarjeta VALUES ('0000012345', 2, 'S');
INSERT INTO zarvcontroladortarjeta VALUES ('0000023456', 1, 'S');
INSERT INTO zarvcontroladortarjeta VALUES ('0000023456', 3, 'S');
INSERT INTO zarvcontroladortarjeta VALUES ('0000034567', 1, 'S');
INSERT INTO zarvcontroladortarjeta VALUES ('0000034567', 2, 'N');
INSERT INTO zarvcontroladortarjeta VALUES ('0000045678', 3, 'S');

COMMIT;
