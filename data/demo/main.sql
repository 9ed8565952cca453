-- Demo data for the main database: the demo installation's name and a login
-- of level USER beside the factory administrator. Applied by scripts/run to
-- a copy of the factory KEYVANE.FDB; the factory set itself stays as shipped.
UPDATE instalacion SET NOMBRE = 'Demo site' WHERE COD = 1;
INSERT INTO usuario (COD, LOGIN, "PASSWORD", ROL) VALUES (gen_id(GEN_USUARIO_ID, 1), 'guard', 'guard', 'USER');
COMMIT;
